#include "platform/gtk/canvas.h"

#include "platform/gtk/accessibility.h"
#include "platform/gtk/guarded.h"

namespace ludex::gtk {

namespace {

// A GtkFixed asks for the room its children need; a canvas asks for nothing
// beyond its size request, as a native window does, and draws its children
// in their stacking order.
struct LudexCanvas {
  GtkFixed parent;
};
struct LudexCanvasClass {
  GtkFixedClass parent_class;
};

G_DEFINE_TYPE(LudexCanvas, ludex_canvas, GTK_TYPE_FIXED)

// The Canvas that a canvas widget serves, kept on the widget.
constexpr const char* kCanvasKey = "ludex-canvas";

void ludex_canvas_get_preferred_size(GtkWidget*, gint* minimum, gint* natural) {
  *minimum = 0;
  *natural = 0;
}

// GtkFixed draws its children in the order they were put in; the windows of
// a window system show in their stacking order, which also decides who gets
// the mouse. Children without a GdkWindow of their own lie underneath.
gboolean ludex_canvas_draw(GtkWidget* widget, cairo_t* cr) {
  GtkContainer* container = GTK_CONTAINER(widget);
  GList* children = gtk_container_get_children(container);
  for (GList* c = children; c; c = c->next) {
    GtkWidget* child = GTK_WIDGET(c->data);
    if (!gtk_widget_get_has_window(child)) gtk_container_propagate_draw(container, child, cr);
  }
  GList* top_first = gdk_window_peek_children(gtk_widget_get_window(widget));
  for (GList* w = g_list_last(top_first); w; w = w->prev) {
    gpointer owner = nullptr;
    gdk_window_get_user_data(GDK_WINDOW(w->data), &owner);
    if (owner && g_list_find(children, owner)) gtk_container_propagate_draw(container, GTK_WIDGET(owner), cr);
  }
  g_list_free(children);
  return FALSE;
}

void ludex_canvas_class_init(LudexCanvasClass* klass) {
  GtkWidgetClass* widget_class = GTK_WIDGET_CLASS(klass);
  widget_class->get_preferred_width = ludex_canvas_get_preferred_size;
  widget_class->get_preferred_height = ludex_canvas_get_preferred_size;
  widget_class->draw = ludex_canvas_draw;
  gtk_widget_class_set_accessible_type(widget_class, CanvasAccessibleType());
}

void ludex_canvas_init(LudexCanvas* self) {
  GtkWidget* widget = GTK_WIDGET(self);
  gtk_widget_set_has_window(widget, TRUE);
  gtk_widget_add_events(widget,
                        GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK | GDK_ENTER_NOTIFY_MASK);
}

}  // namespace

Canvas::Canvas(Hwnd hwnd, WindowSink* sink, DoubleClickDetector& clicks, std::function<void()> mapped)
    : hwnd_(hwnd),
      sink_(sink),
      clicks_(clicks),
      mapped_(std::move(mapped)),
      widget_(KeepWidget(GTK_WIDGET(g_object_new(ludex_canvas_get_type(), nullptr)))) {
  DescribeCanvasBy(widget_.get(), sink);
  g_object_set_data(G_OBJECT(widget_.get()), kCanvasKey, this);
  ConnectSignals();
}

Canvas::~Canvas() { g_object_set_data(G_OBJECT(widget_.get()), kCanvasKey, nullptr); }

void Canvas::LoseCapture(GdkWindow* pressed) {
  gpointer widget = nullptr;
  if (!pressed || gdk_window_is_destroyed(pressed)) return;
  gdk_window_get_user_data(pressed, &widget);
  auto* canvas = widget ? static_cast<Canvas*>(g_object_get_data(G_OBJECT(widget), kCanvasKey)) : nullptr;
  if (!canvas || !canvas->IsOwnEvent(pressed)) return;
  RawMouse lost;
  lost.kind = RawMouse::Kind::CaptureLost;
  Guarded([&] { canvas->sink_->OnMouse(lost); });
}

void Canvas::ConnectSignals() {
  connections_.Connect(widget_.get(), "draw", OnDraw, this);
  connections_.Connect(widget_.get(), "button-press-event", OnButtonPressEvent, this);
  connections_.Connect(widget_.get(), "button-release-event", OnButtonReleaseEvent, this);
  connections_.Connect(widget_.get(), "motion-notify-event", OnMotionNotifyEvent, this);
  connections_.Connect(widget_.get(), "enter-notify-event", OnEnterNotifyEvent, this);
  connections_.Connect(widget_.get(), "realize", OnRealize, this);
  connections_.ConnectAfter(widget_.get(), "map", OnMap, this);
}

void Canvas::SetPointer(int pointer) {
  pointer_ = pointer;
  if (gtk_widget_get_realized(widget_.get())) ApplyPointer();
}

void Canvas::OnRealize(GtkWidget*, gpointer self) { static_cast<Canvas*>(self)->ApplyPointer(); }

void Canvas::OnMap(GtkWidget*, gpointer self) {
  Guarded([&] { static_cast<Canvas*>(self)->mapped_(); });
}

void Canvas::ApplyPointer() const {
  GdkWindow* window = gtk_widget_get_window(widget_.get());
  if (pointer_ != 8) {
    gdk_window_set_cursor(window, nullptr);
    return;
  }
  GdkDisplay* display = gtk_widget_get_display(widget_.get());
  GObjectPtr<GdkCursor> cursor(gdk_cursor_new_from_name(display, "nwse-resize"));
  if (!cursor) cursor.reset(gdk_cursor_new_for_display(display, GDK_BOTTOM_RIGHT_CORNER));
  gdk_window_set_cursor(window, cursor.get());
}

void Canvas::SetClip(const std::optional<RoundRectRegion>& region) {
  clip_ = region ? ToCairoRegion(*region) : nullptr;
  gtk_widget_queue_draw(widget_.get());
}

gboolean Canvas::OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
  auto* canvas = static_cast<Canvas*>(self);
  cairo_save(cr);
  if (canvas->clip_) {
    gdk_cairo_region(cr, canvas->clip_.get());
    cairo_clip(cr);
  }
  Guarded([&] { canvas->sink_->OnPaint(cr); });
  cairo_restore(cr);
  // Let the class draw the child windows over the picture.
  return FALSE;
}

gboolean Canvas::OnButtonPressEvent(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto* canvas = static_cast<Canvas*>(self);
  if (!canvas->IsOwnEvent(event->window)) return FALSE;
  return Guarded(TRUE, [&]() -> gboolean {
    // GDK follows the second press of a double-click with a 2BUTTON_PRESS
    // (and a third with a 3BUTTON_PRESS); those are not presses of their own.
    std::optional<RawMouse> m = ButtonEvent(*event);
    if (!m) return TRUE;
    m->double_press = canvas->clicks_.IsSecondPress(canvas->hwnd_, *event);
    canvas->sink_->OnMouse(*m);
    return TRUE;
  });
}

gboolean Canvas::OnButtonReleaseEvent(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto* canvas = static_cast<Canvas*>(self);
  if (!canvas->IsOwnEvent(event->window)) return FALSE;
  return Guarded(TRUE, [&]() -> gboolean {
    if (std::optional<RawMouse> m = ButtonEvent(*event)) canvas->sink_->OnMouse(*m);
    return TRUE;
  });
}

gboolean Canvas::OnMotionNotifyEvent(GtkWidget*, GdkEventMotion* event, gpointer self) {
  auto* canvas = static_cast<Canvas*>(self);
  if (!canvas->IsOwnEvent(event->window)) return FALSE;
  return Guarded(TRUE, [&]() -> gboolean {
    canvas->sink_->OnMouse(MotionEvent(*event));
    return TRUE;
  });
}

gboolean Canvas::OnEnterNotifyEvent(GtkWidget*, GdkEventCrossing* event, gpointer self) {
  auto* canvas = static_cast<Canvas*>(self);
  // Crossings made by a grab starting or ending (the move loop's) are no move of the pointer.
  if (!canvas->IsOwnEvent(event->window) || event->mode != GDK_CROSSING_NORMAL) return FALSE;
  return Guarded(TRUE, [&]() -> gboolean {
    canvas->sink_->OnMouse(EnterEvent(*event));
    return TRUE;
  });
}

}  // namespace ludex::gtk
