#include "platform/gtk/web/download_list.h"

#include <utility>

#include "platform/glib_ptr.h"
#include "platform/gtk/guarded.h"

namespace ludex::gtk {

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 320;
constexpr const char* kRunning = "正在下载";

gboolean OnKeyPress(GtkWidget* window, GdkEventKey* event, gpointer) {
  if (event->keyval != GDK_KEY_Escape) return FALSE;
  gtk_widget_hide(window);
  return TRUE;
}

}  // namespace

std::string Size(std::uint64_t bytes) { return TakeText(g_format_size_full(bytes, G_FORMAT_SIZE_IEC_UNITS)); }

void DownloadList::Row::SetProgress(std::uint64_t received, std::uint64_t expected) {
  size_ = expected > 0 ? Size(received) + " / " + Size(expected) : Size(received);
  if (expected > 0) {
    gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(progress_), static_cast<double>(received) / expected);
  }
  ShowState(kRunning);
}

void DownloadList::Row::End(const std::string& how) {
  cancel_ = nullptr;
  gtk_widget_hide(cancel_button_);
  ShowState(how);
}

void DownloadList::Row::ShowState(const std::string& state) {
  gtk_label_set_text(GTK_LABEL(state_label_), ("来自 " + site_ + " · " + size_ + " · " + state).c_str());
}

void DownloadList::Row::OnCancelClicked(GtkButton*, gpointer self) {
  // Through a copy: cancelling ends the row, which lets its function go.
  const std::function<void()> cancel = static_cast<Row*>(self)->cancel_;
  if (cancel) Guarded(cancel);
}

void DownloadList::Build() {
  window_ = KeepWidget(gtk_window_new(GTK_WINDOW_TOPLEVEL));
  GtkWindow* window = GTK_WINDOW(window_.get());
  gtk_window_set_title(window, "下载");
  gtk_window_set_default_size(window, kWidth, kHeight);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
  gtk_window_set_position(window, GTK_WIN_POS_CENTER_ON_PARENT);
  connections_.Connect(window, "delete-event", gtk_widget_hide_on_delete, nullptr);
  connections_.Connect(window, "key-press-event", OnKeyPress, nullptr);

  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
  rows_ = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  none_ = gtk_label_new("这次还没有下载。");
  gtk_box_pack_start(GTK_BOX(rows_), none_, TRUE, TRUE, 0);
  gtk_container_add(GTK_CONTAINER(scrolled), rows_);
  gtk_container_add(GTK_CONTAINER(window), scrolled);
  gtk_widget_show_all(scrolled);
}

DownloadList::Row& DownloadList::Add(const std::string& site, const std::string& name,
                                     std::function<void()> cancel) {
  if (!window_) Build();
  Row& row = entries_.emplace_back();
  row.site_ = site;
  row.cancel_ = std::move(cancel);

  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
  gtk_grid_set_row_spacing(GTK_GRID(grid), 4);
  gtk_container_set_border_width(GTK_CONTAINER(grid), 8);
  GtkWidget* name_label = gtk_label_new(nullptr);
  gtk_label_set_markup(GTK_LABEL(name_label), TakeText(g_markup_printf_escaped("<b>%s</b>", name.c_str())).c_str());
  row.state_label_ = gtk_label_new(nullptr);
  for (GtkWidget* label : {name_label, row.state_label_}) {
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_MIDDLE);
    gtk_widget_set_hexpand(label, TRUE);
  }
  row.progress_ = gtk_progress_bar_new();
  row.cancel_button_ = gtk_button_new_with_label("取消");
  // Also what a screen reader says of it, beside the buttons of the other downloads.
  gtk_widget_set_tooltip_text(row.cancel_button_, ("取消下载“" + name + "”").c_str());
  gtk_widget_set_valign(row.cancel_button_, GTK_ALIGN_CENTER);
  gtk_grid_attach(GTK_GRID(grid), name_label, 0, 0, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), row.state_label_, 0, 1, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), row.progress_, 0, 2, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), row.cancel_button_, 1, 0, 1, 3);
  connections_.Connect(row.cancel_button_, "clicked", Row::OnCancelClicked, &row);
  row.SetProgress(0, 0);

  gtk_widget_hide(none_);
  gtk_widget_show_all(grid);
  gtk_box_pack_start(GTK_BOX(rows_), grid, FALSE, FALSE, 0);
  return row;
}

void DownloadList::Present(GtkWindow* parent) {
  if (!window_) Build();
  gtk_window_set_transient_for(GTK_WINDOW(window_.get()), parent);
  gtk_window_present(GTK_WINDOW(window_.get()));
}

}  // namespace ludex::gtk
