#include "platform/gtk/form_window.h"

#include "platform/gtk/guarded.h"
#include "platform/gtk/icon_images.h"
#include "platform/gtk/screen.h"

namespace ludex::gtk {

FormWindow::FormWindow(Hwnd hwnd, const FormWindowSpec& spec, WindowSink* sink, DoubleClickDetector& clicks)
    : NativeWindow(hwnd, nullptr),
      sink_(sink),
      window_(KeepWidget(gtk_window_new(GTK_WINDOW_TOPLEVEL))),
      canvas_(hwnd, sink, clicks) {
  GtkWindow* window = GTK_WINDOW(window_.get());
  SetTitle(spec.title);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_NORMAL);
  gtk_window_set_decorated(window, spec.border);
  gtk_window_set_skip_taskbar_hint(window, !spec.show_in_taskbar);
  gtk_window_set_resizable(window, spec.resizable);
  gtk_widget_set_size_request(canvas_.widget(), spec.client_width, spec.client_height);
  gtk_container_add(GTK_CONTAINER(window), canvas_.widget());
  gtk_widget_show(canvas_.widget());
  gtk_widget_realize(canvas_.widget());
  if (!spec.icon_file.empty()) SetIcon(spec.icon_file);
  ConnectSignals();
}

void FormWindow::ConnectSignals() { connections_.Connect(window_.get(), "delete-event", OnDeleteEvent, this); }

void FormWindow::Move(PixelRect rect) {
  GtkWindow* window = GTK_WINDOW(window_.get());
  gtk_widget_set_size_request(canvas_.widget(), rect.width, rect.height);
  gtk_window_resize(window, rect.width, rect.height);
  gtk_window_move(window, rect.x, rect.y);
}

void FormWindow::SetTitle(const std::string& utf8) {
  NativeWindow::SetTitle(utf8);
  gtk_window_set_title(GTK_WINDOW(window_.get()), utf8.c_str());
}

void FormWindow::ShowCentred() {
  GtkWindow* window = GTK_WINDOW(window_.get());
  const GdkRectangle screen = PrimaryMonitorArea();
  int width = 0;
  int height = 0;
  gtk_window_get_size(window, &width, &height);
  gtk_window_move(window, screen.x + (screen.width - width) / 2, screen.y + (screen.height - height) / 2);
  gtk_widget_show(window_.get());
}

void FormWindow::SetIcon(const std::vector<unsigned char>& ico_file) {
  std::vector<GObjectPtr<GdkPixbuf>> images = IconImages(ico_file);
  GList* list = nullptr;
  for (const GObjectPtr<GdkPixbuf>& image : images) list = g_list_append(list, image.get());
  gtk_window_set_icon_list(GTK_WINDOW(window_.get()), list);
  g_list_free(list);
}

void FormWindow::SetTabOrder(const std::vector<NativeWindow*>& order) {
  GList* chain = nullptr;
  for (NativeWindow* window : order) {
    while (window && window->parent() != this) window = window->parent();
    if (window && !g_list_find(chain, window->root())) chain = g_list_append(chain, window->root());
  }
  // GTK 3 has no other way to order focus among a container's children.
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_container_set_focus_chain(GTK_CONTAINER(canvas_.widget()), chain);
  G_GNUC_END_IGNORE_DEPRECATIONS
  g_list_free(chain);
}

gboolean FormWindow::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer self) {
  auto* form = static_cast<FormWindow*>(self);
  // The core decides: it unloads the form or ends the program.
  Guarded([&] { form->sink_->OnCloseRequest(); });
  return TRUE;
}

}  // namespace ludex::gtk
