#include "platform/gtk/form_window.h"

#include <algorithm>
#include <cstring>

#include "platform/diagnostics.h"
#include "platform/gtk/guarded.h"
#include "platform/gtk/icon_images.h"
#include "platform/gtk/region.h"
#include "platform/gtk/screen.h"

namespace ludex::gtk {

namespace {

// A place asked for and never seen on the X server (a window manager chose
// another) stops being the window's after this long.
constexpr gint64 kRequestLifetimeUs = 1'000'000;

std::int32_t InitialStyle(const FormWindowSettings& settings) {
  if (!settings.border) return 0;
  return WS_CAPTION | WS_SYSMENU | (settings.resizable ? WS_THICKFRAME : 0);
}

}  // namespace

FormWindow::FormWindow(Hwnd hwnd, const FormWindowSettings& settings, WindowSink* sink, DoubleClickDetector& clicks)
    : NativeWindow(hwnd, nullptr, {0, 0, settings.client_width, settings.client_height}, sink),
      show_in_taskbar_(settings.show_in_taskbar),
      window_(KeepWidget(gtk_window_new(GTK_WINDOW_TOPLEVEL))),
      canvas_(hwnd, sink, clicks, [this] { ApplyStacking(); }) {
  GtkWindow* window = GTK_WINDOW(window_.get());
  SetTitle(settings.title);
  gtk_window_set_resizable(window, settings.resizable);
  SetStyleWord(GWL_EXSTYLE, settings.border ? WS_EX_WINDOWEDGE : 0);
  SetStyleWord(GWL_STYLE, InitialStyle(settings));
  gtk_widget_set_size_request(canvas_.widget(), settings.client_width, settings.client_height);
  gtk_container_add(GTK_CONTAINER(window), canvas_.widget());
  gtk_widget_show(canvas_.widget());
  gtk_widget_realize(canvas_.widget());
  if (!settings.icon_file.empty()) SetIcon(settings.icon_file);
  ConnectSignals();
}

void FormWindow::ConnectSignals() {
  connections_.Connect(window_.get(), "delete-event", OnDeleteEvent, this);
  connections_.Connect(window_.get(), "configure-event", OnConfigureEvent, this);
}

std::optional<PixelRect> FormWindow::ClientOnServer() const {
  if (!gtk_widget_get_mapped(window_.get())) return std::nullopt;
  GdkWindow* window = gtk_widget_get_window(window_.get());
  PixelRect client;
  gdk_window_get_origin(window, &client.x, &client.y);
  gdk_window_get_geometry(window, nullptr, nullptr, &client.width, &client.height);
  return client;
}

FormWindow::Insets FormWindow::FrameInsets() const {
  if (!gtk_window_get_decorated(GTK_WINDOW(window_.get())) || !gtk_widget_get_mapped(window_.get())) return {};
  // The window manager's own statement of its frame: taken from where the
  // window and its frame are, it would be wrong whenever the frame moved
  // between the two readings.
  GdkAtom type = GDK_NONE;
  gint format = 0;
  gint length = 0;
  guchar* data = nullptr;
  Insets insets;
  constexpr gulong kFourValuesInBytes = 16;
  const bool got = gdk_property_get(gtk_widget_get_window(window_.get()),
                                    gdk_atom_intern_static_string("_NET_FRAME_EXTENTS"),
                                    gdk_atom_intern_static_string("CARDINAL"), 0, kFourValuesInBytes, FALSE, &type,
                                    &format, &length, &data);
  const Owned<guchar, g_free> held(data);
  if (got && format == 32 && length == 4 * static_cast<gint>(sizeof(long))) {
    // Left, right, top, bottom, each in a long as the X client library hands them over.
    long values[4];
    std::memcpy(values, data, sizeof values);
    insets = {static_cast<int>(values[0]), static_cast<int>(values[2]), static_cast<int>(values[1]),
              static_cast<int>(values[3])};
  }
  return insets;
}

bool FormWindow::Asking() const {
  if (requested_.empty()) return false;
  const Request& newest = requested_.back();
  if (newest.before_map && gtk_widget_get_mapped(window_.get())) return false;
  return g_get_monotonic_time() - newest.when <= kRequestLifetimeUs;
}

void FormWindow::Move(PixelRect place) {
  Record(place);
  const Insets frame = FrameInsets();
  GtkWindow* window = GTK_WINDOW(window_.get());
  gtk_widget_set_size_request(canvas_.widget(), place.width, place.height);
  gtk_window_resize(window, std::max(place.width, 1), std::max(place.height, 1));
  gtk_window_move(window, place.x - frame.left, place.y - frame.top);
  requested_.push_back({place, g_get_monotonic_time(), !gtk_widget_get_mapped(window_.get())});
  Debug(DebugDomain::Geometry, "form %u: asked for %d,%d %dx%d (frame %d,%d)", hwnd(), place.x, place.y, place.width,
        place.height, frame.left, frame.top);
}

Rect FormWindow::WindowRect() const {
  const PixelRect client = place();
  const Insets frame = FrameInsets();
  return {client.x - frame.left, client.y - frame.top, client.x + client.width + frame.right,
          client.y + client.height + frame.bottom};
}

void FormWindow::SetTitle(const std::string& utf8) {
  NativeWindow::SetTitle(utf8);
  gtk_window_set_title(GTK_WINDOW(window_.get()), utf8.c_str());
}

void FormWindow::ApplyRegion() {
  const CairoRegionPtr shape = region() ? ToCairoRegion(*region()) : nullptr;
  gtk_widget_shape_combine_region(window_.get(), shape.get());
  // GDK hands a shown window's new shape to the X server only when it next paints it.
  gtk_widget_queue_draw(window_.get());
}

void FormWindow::ApplyStyle() { ApplyTopLevelStyle(window_.get(), show_in_taskbar_); }

void FormWindow::ShowCentred() {
  const GdkRectangle screen = OpenerMonitorArea(GTK_WINDOW(window_.get()));
  PixelRect centred = place();
  centred.x = screen.x + (screen.width - centred.width) / 2;
  centred.y = screen.y + (screen.height - centred.height) / 2;
  Move(centred);
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
  Guarded([&] { form->sink()->OnCloseRequest(); });
  return TRUE;
}

gboolean FormWindow::OnConfigureEvent(GtkWidget*, GdkEventConfigure* event, gpointer self) {
  auto* form = static_cast<FormWindow*>(self);
  // A report may have waited in the queue behind newer changes (GDK gives a
  // real one the position of the moment it handles it, a window manager's
  // own one the position of the moment it was sent): it only says that the
  // window changed, and the X server says where the window is now.
  const PixelRect reported{event->x, event->y, event->width, event->height};
  const PixelRect now = form->ClientOnServer().value_or(reported);
  auto& requested = form->requested_;
  auto match = std::ranges::find_if(requested, [&](const Request& r) { return r.place == now; });
  if (match != requested.end()) {
    // Done as asked; what was asked before it is past.
    requested.erase(requested.begin(), std::next(match));
    Debug(DebugDomain::Geometry, "form %u: reported %d,%d %dx%d, now at %d,%d %dx%d as asked", form->hwnd(),
          reported.x, reported.y, reported.width, reported.height, now.x, now.y, now.width, now.height);
    return FALSE;
  }
  if (form->Asking()) {
    Debug(DebugDomain::Geometry, "form %u: reported %d,%d %dx%d, now at %d,%d %dx%d, while %zu place(s) are asked for",
          form->hwnd(), reported.x, reported.y, reported.width, reported.height, now.x, now.y, now.width, now.height,
          requested.size());
    return FALSE;
  }
  // Moved or sized by someone else (the window manager or the user), or the
  // window manager chose another place than the one asked for.
  requested.clear();
  Debug(DebugDomain::Geometry, "form %u: reported %d,%d %dx%d, now at %d,%d %dx%d, taken as its place", form->hwnd(),
        reported.x, reported.y, reported.width, reported.height, now.x, now.y, now.width, now.height);
  if (now == form->place()) return FALSE;
  form->Record(now);
  Guarded([&] { form->ReportPlace(); });
  return FALSE;
}

}  // namespace ludex::gtk
