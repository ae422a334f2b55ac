#include "platform/gtk/notices.h"

#include <cstdio>

#include "platform/glib_ptr.h"
#include "platform/gtk/screen.h"

namespace ludex::gtk {

namespace {

constexpr guint kShownMs = 6000;
constexpr int kMargin = 16;
constexpr int kWidth = 320;

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

void Notices::Show(const std::string& title, const std::string& detail) {
  std::fprintf(stderr, "ludex: %s%s%s\n", title.c_str(), detail.empty() ? "" : ": ", detail.c_str());
  ShowOnScreen(title, detail);
}

void Notices::ShowOnScreen(const std::string& title, const std::string& detail) {
  if (queue_.Add({title, detail})) Display(*queue_.Shown());
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
  hide_source_.Remove();
  hide_source_ = SourceId::OnceAfter(kShownMs, [this] { ShowNextOrHide(); });
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

void Notices::ShowNextOrHide() {
  if (const Notice* next = queue_.Next()) {
    Display(*next);
  } else {
    gtk_widget_hide(window_.get());
  }
}

}  // namespace ludex::gtk
