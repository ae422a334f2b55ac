#include "platform/gtk/notices.h"

#include <algorithm>
#include <cstdio>

#include "platform/diagnostics.h"
#include "platform/glib_ptr.h"
#include "platform/gtk/guarded.h"
#include "platform/gtk/screen.h"

namespace ludex::gtk {

namespace {

constexpr int kMargin = 16;
constexpr int kWidth = 320;

NoticeQueue::Time Now() { return NoticeQueue::Time(g_get_monotonic_time() / 1000); }

}  // namespace

void Notices::Build() {
  window_ = KeepWidget(gtk_window_new(GTK_WINDOW_TOPLEVEL));
  GtkWindow* window = GTK_WINDOW(window_.get());
  gtk_window_set_decorated(window, FALSE);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_accept_focus(window, FALSE);
  gtk_window_set_focus_on_map(window, FALSE);
  gtk_window_set_keep_above(window, TRUE);
  gtk_window_set_skip_taskbar_hint(window, TRUE);
  gtk_window_set_skip_pager_hint(window, TRUE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_NOTIFICATION);
  gtk_window_set_default_size(window, kWidth, -1);
  gtk_widget_add_events(window_.get(), GDK_BUTTON_PRESS_MASK);
  connections_.Connect(window, "button-press-event", OnButtonPress, this);

  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
  gtk_container_set_border_width(GTK_CONTAINER(box), 12);
  title_label_ = gtk_label_new(nullptr);
  detail_label_ = gtk_label_new(nullptr);
  for (GtkWidget* label : {title_label_, detail_label_}) {
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 40);
    gtk_box_pack_start(GTK_BOX(box), label, FALSE, FALSE, 0);
  }
  gtk_container_add(GTK_CONTAINER(window), box);
  gtk_widget_show_all(box);
}

void Notices::Show(const std::string& title, const std::string& detail) { Show(Notice{title, detail}); }

void Notices::Show(const Notice& notice) {
  std::fprintf(stderr, "ludex: %s%s%s\n", notice.title.c_str(), notice.detail.empty() ? "" : ": ",
               notice.detail.c_str());
  Add(notice);
}

void Notices::ShowOnScreen(const std::string& title, const std::string& detail) { Add({title, detail}); }

void Notices::SetOpener(NoticeTopic topic, std::function<void()> open) { openers_[topic] = std::move(open); }

void Notices::Add(const Notice& notice) {
  if (queue_.Add(notice, Now())) Display(*queue_.Shown());
  // One waiting behind it shortens the time of the notice shown.
  WaitForItsEnd();
}

void Notices::WaitForItsEnd() {
  hide_source_.Remove();
  if (!queue_.Shown()) return;
  const auto left = std::max(NoticeQueue::Time{0}, queue_.ShownUntil() - Now());
  hide_source_ = SourceId::OnceAfter(static_cast<guint>(left.count()), [this] { Guarded([&] { GiveWay(); }); });
}

void Notices::Display(const Notice& notice) {
  if (!window_) Build();
  gtk_window_set_title(GTK_WINDOW(window_.get()), notice.title.c_str());
  gtk_label_set_markup(GTK_LABEL(title_label_),
                       TakeText(g_markup_printf_escaped("<b>%s</b>", notice.title.c_str())).c_str());
  gtk_label_set_text(GTK_LABEL(detail_label_), notice.detail.c_str());
  gtk_widget_set_visible(detail_label_, !notice.detail.empty());
  gtk_window_resize(GTK_WINDOW(window_.get()), kWidth, 1);
  PlaceInCorner();
  gtk_widget_show(window_.get());
  Debug(DebugDomain::Web, "notice shown after %lld ms: %s", static_cast<long long>(queue_.Waited().count()),
        notice.title.c_str());
}

void Notices::PlaceInCorner() {
  const GdkRectangle work = PrimaryMonitorWorkArea();
  int width = 0;
  int height = 0;
  gtk_widget_get_preferred_width(window_.get(), nullptr, &width);
  gtk_widget_get_preferred_height_for_width(window_.get(), width, nullptr, &height);
  gtk_window_move(GTK_WINDOW(window_.get()), work.x + work.width - width - kMargin,
                  work.y + work.height - height - kMargin);
}

void Notices::GiveWay() {
  if (const Notice* next = queue_.Next(Now())) {
    Display(*next);
  } else {
    gtk_widget_hide(window_.get());
  }
  WaitForItsEnd();
}

gboolean Notices::OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto* notices = static_cast<Notices*>(self);
  if (event->type != GDK_BUTTON_PRESS || event->button != GDK_BUTTON_PRIMARY) return FALSE;
  Guarded([&] {
    const Notice* shown = notices->queue_.Shown();
    const auto it = shown ? notices->openers_.find(shown->topic) : notices->openers_.end();
    // Through a copy: what it opens may set another opener.
    const std::function<void()> open = it != notices->openers_.end() ? it->second : nullptr;
    // Read, the notice has done its work.
    notices->GiveWay();
    if (open) open();
  });
  return TRUE;
}

}  // namespace ludex::gtk
