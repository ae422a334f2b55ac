#include "platform/gtk/accessibility.h"

#include <gtk/gtk-a11y.h>

#include <memory>
#include <vector>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/guarded.h"

namespace ludex::gtk {

namespace {

constexpr const char* kSinkKey = "ludex-window-sink";
constexpr const char* kClickAction = "click";

WindowSink* SinkOf(GtkWidget* widget) {
  return widget ? static_cast<WindowSink*>(g_object_get_data(G_OBJECT(widget), kSinkKey)) : nullptr;
}

AtkRole AtkRoleOf(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::Button: return ATK_ROLE_PUSH_BUTTON;
    case AccessibleRole::Link: return ATK_ROLE_LINK;
    case AccessibleRole::Label: return ATK_ROLE_LABEL;
    case AccessibleRole::None: break;
  }
  return ATK_ROLE_PANEL;
}

bool Clickable(AccessibleRole role) { return role == AccessibleRole::Button || role == AccessibleRole::Link; }

// A click as the mouse would make it, at a point of the window's client area,
// run from the main loop rather than inside the screen reader's request.
struct PendingClick {
  GObjectPtr<GtkWidget> widget;
  double x;
  double y;
};

gboolean RunClick(gpointer data) {
  std::unique_ptr<PendingClick> click(static_cast<PendingClick*>(data));
  Guarded([&] {
    for (RawMouse::Kind kind : {RawMouse::Kind::Press, RawMouse::Kind::Release}) {
      // The first notification may destroy the window.
      WindowSink* sink = SinkOf(click->widget.get());
      if (!sink) return;
      RawMouse m;
      m.kind = kind;
      m.button = 1;
      m.x = click->x;
      m.y = click->y;
      sink->OnMouse(m);
    }
  });
  return G_SOURCE_REMOVE;
}

void ClickAt(GtkWidget* widget, double x, double y) {
  g_idle_add(RunClick, new PendingClick{Ref(widget), x, y});
}

// The children a canvas's accessible object has as a container of widgets.
gint WidgetChildren(AtkObject* canvas) {
  return ATK_OBJECT_CLASS(g_type_class_peek(GTK_TYPE_CONTAINER_ACCESSIBLE))->get_n_children(canvas);
}

// --- a windowless part ----------------------------------------------------------

struct LudexPartAccessible {
  AtkObject parent;
  AccessiblePart* part;
  GtkWidget* canvas;  // the widget of the parent object, or null once it is gone
  int index;          // among the parts
};
struct LudexPartAccessibleClass {
  AtkObjectClass parent_class;
};

void PartComponentInit(AtkComponentIface* iface);
void PartActionInit(AtkActionIface* iface);

G_DEFINE_TYPE_WITH_CODE(LudexPartAccessible, ludex_part_accessible, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, PartComponentInit)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, PartActionInit))

LudexPartAccessible* AsPart(gpointer object) {
  return G_TYPE_CHECK_INSTANCE_CAST(object, ludex_part_accessible_get_type(), LudexPartAccessible);
}

void ludex_part_accessible_init(LudexPartAccessible* self) { self->part = new AccessiblePart(); }

void PartFinalize(GObject* object) {
  LudexPartAccessible* self = AsPart(object);
  if (self->canvas) g_object_remove_weak_pointer(G_OBJECT(self->canvas), reinterpret_cast<gpointer*>(&self->canvas));
  delete self->part;
  G_OBJECT_CLASS(ludex_part_accessible_parent_class)->finalize(object);
}

gint PartIndexInParent(AtkObject* object) {
  AtkObject* canvas = atk_object_get_parent(object);
  return canvas ? WidgetChildren(canvas) + AsPart(object)->index : -1;
}

AtkStateSet* PartStates(AtkObject* object) {
  AtkStateSet* states = ATK_OBJECT_CLASS(ludex_part_accessible_parent_class)->ref_state_set(object);
  for (AtkStateType state : {ATK_STATE_VISIBLE, ATK_STATE_SHOWING, ATK_STATE_ENABLED, ATK_STATE_SENSITIVE}) {
    atk_state_set_add_state(states, state);
  }
  return states;
}

void ludex_part_accessible_class_init(LudexPartAccessibleClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = PartFinalize;
  AtkObjectClass* atk_class = ATK_OBJECT_CLASS(klass);
  atk_class->get_index_in_parent = PartIndexInParent;
  atk_class->ref_state_set = PartStates;
}

void PartExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height, AtkCoordType type) {
  LudexPartAccessible* self = AsPart(component);
  const PixelRect place = self->part->place;
  *x = place.x;
  *y = place.y;
  *width = place.width;
  *height = place.height;
  GtkWidget* canvas = self->canvas;
  if (!canvas || !gtk_widget_get_realized(canvas)) return;
  int origin_x = 0;
  int origin_y = 0;
  if (type == ATK_XY_SCREEN) {
    gdk_window_get_origin(gtk_widget_get_window(canvas), &origin_x, &origin_y);
  } else {
    gtk_widget_translate_coordinates(canvas, gtk_widget_get_toplevel(canvas), 0, 0, &origin_x, &origin_y);
  }
  *x += origin_x;
  *y += origin_y;
}

void PartComponentInit(AtkComponentIface* iface) { iface->get_extents = PartExtents; }

gint PartActionCount(AtkAction* action) { return Clickable(AsPart(action)->part->description.role) ? 1 : 0; }

const gchar* PartActionName(AtkAction* action, gint i) {
  return i == 0 && PartActionCount(action) ? kClickAction : nullptr;
}

gboolean PartDoAction(AtkAction* action, gint i) {
  LudexPartAccessible* self = AsPart(action);
  if (i != 0 || !PartActionCount(action) || !self->canvas) return FALSE;
  const PixelRect place = self->part->place;
  ClickAt(self->canvas, place.x + place.width / 2.0, place.y + place.height / 2.0);
  return TRUE;
}

void PartActionInit(AtkActionIface* iface) {
  iface->get_n_actions = PartActionCount;
  iface->get_name = PartActionName;
  iface->do_action = PartDoAction;
}

// --- a canvas ---------------------------------------------------------------------

struct CanvasState {
  std::vector<GObjectPtr<AtkObject>> parts;
};

struct LudexCanvasAccessible {
  GtkContainerAccessible parent;
  CanvasState* state;
};
struct LudexCanvasAccessibleClass {
  GtkContainerAccessibleClass parent_class;
};

void CanvasActionInit(AtkActionIface* iface);

G_DEFINE_TYPE_WITH_CODE(LudexCanvasAccessible, ludex_canvas_accessible, GTK_TYPE_CONTAINER_ACCESSIBLE,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, CanvasActionInit))

LudexCanvasAccessible* AsCanvas(gpointer object) {
  return G_TYPE_CHECK_INSTANCE_CAST(object, ludex_canvas_accessible_get_type(), LudexCanvasAccessible);
}

GtkWidget* WidgetOf(gpointer object) { return gtk_accessible_get_widget(GTK_ACCESSIBLE(object)); }

void ludex_canvas_accessible_init(LudexCanvasAccessible* self) { self->state = new CanvasState(); }

void CanvasFinalize(GObject* object) {
  delete AsCanvas(object)->state;
  G_OBJECT_CLASS(ludex_canvas_accessible_parent_class)->finalize(object);
}

// Reads the window's description and parts again, and tells the screen
// reader what changed.
void Refresh(AtkObject* object) {
  GtkWidget* widget = WidgetOf(object);
  WindowSink* sink = SinkOf(widget);
  if (!sink) return;
  const AccessibleDescription self = sink->Describe();
  atk_object_set_role(object, AtkRoleOf(self.role));
  const char* old_name = atk_object_get_name(object);
  if (!old_name || self.name != old_name) atk_object_set_name(object, self.name.c_str());

  const std::vector<AccessiblePart> described = sink->AccessibleParts();
  std::vector<GObjectPtr<AtkObject>>& parts = AsCanvas(object)->state->parts;
  const gint first = WidgetChildren(object);
  while (parts.size() > described.size()) {
    GObjectPtr<AtkObject> gone = std::move(parts.back());
    parts.pop_back();
    g_signal_emit_by_name(object, "children-changed::remove", first + static_cast<gint>(parts.size()), gone.get());
  }
  for (std::size_t i = 0; i < described.size(); ++i) {
    const bool added = i == parts.size();
    if (added) {
      parts.emplace_back(ATK_OBJECT(g_object_new(ludex_part_accessible_get_type(), nullptr)));
      LudexPartAccessible* part = AsPart(parts.back().get());
      part->canvas = widget;
      g_object_add_weak_pointer(G_OBJECT(widget), reinterpret_cast<gpointer*>(&part->canvas));
      part->index = static_cast<int>(i);
      atk_object_set_parent(parts.back().get(), object);
    }
    AtkObject* part_object = parts[i].get();
    *AsPart(part_object)->part = described[i];
    atk_object_set_role(part_object, AtkRoleOf(described[i].description.role));
    const char* name = atk_object_get_name(part_object);
    if (!name || described[i].description.name != name) {
      atk_object_set_name(part_object, described[i].description.name.c_str());
    }
    if (added) g_signal_emit_by_name(object, "children-changed::add", first + static_cast<gint>(i), part_object);
  }
}

gboolean OnCanvasDraw(GtkWidget*, cairo_t*, gpointer object) {
  Guarded([&] { Refresh(ATK_OBJECT(object)); });
  return FALSE;
}

void CanvasInitialize(AtkObject* object, gpointer widget) {
  ATK_OBJECT_CLASS(ludex_canvas_accessible_parent_class)->initialize(object, widget);
  // Whatever changes the parts' looks, names or places repaints the window.
  g_signal_connect_object(widget, "draw", G_CALLBACK(OnCanvasDraw), object, GConnectFlags{});
  Guarded([&] { Refresh(object); });
}

gint CanvasChildren(AtkObject* object) {
  return WidgetChildren(object) + static_cast<gint>(AsCanvas(object)->state->parts.size());
}

AtkObject* CanvasChild(AtkObject* object, gint i) {
  const gint widgets = WidgetChildren(object);
  if (i < widgets) return ATK_OBJECT_CLASS(ludex_canvas_accessible_parent_class)->ref_child(object, i);
  if (i < 0) return nullptr;
  const auto& parts = AsCanvas(object)->state->parts;
  const auto index = static_cast<std::size_t>(i - widgets);
  return index < parts.size() ? ATK_OBJECT(g_object_ref(parts[index].get())) : nullptr;
}

void ludex_canvas_accessible_class_init(LudexCanvasAccessibleClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = CanvasFinalize;
  AtkObjectClass* atk_class = ATK_OBJECT_CLASS(klass);
  atk_class->initialize = CanvasInitialize;
  atk_class->get_n_children = CanvasChildren;
  atk_class->ref_child = CanvasChild;
}

gint CanvasActionCount(AtkAction* action) {
  WindowSink* sink = SinkOf(WidgetOf(action));
  return sink && Clickable(sink->Describe().role) ? 1 : 0;
}

const gchar* CanvasActionName(AtkAction* action, gint i) {
  return i == 0 && CanvasActionCount(action) ? kClickAction : nullptr;
}

gboolean CanvasDoAction(AtkAction* action, gint i) {
  GtkWidget* widget = WidgetOf(action);
  if (i != 0 || !CanvasActionCount(action)) return FALSE;
  ClickAt(widget, gtk_widget_get_allocated_width(widget) / 2.0, gtk_widget_get_allocated_height(widget) / 2.0);
  return TRUE;
}

void CanvasActionInit(AtkActionIface* iface) {
  iface->get_n_actions = CanvasActionCount;
  iface->get_name = CanvasActionName;
  iface->do_action = CanvasDoAction;
}

}  // namespace

GType CanvasAccessibleType() { return ludex_canvas_accessible_get_type(); }

void DescribeCanvasBy(GtkWidget* canvas, WindowSink* sink) { g_object_set_data(G_OBJECT(canvas), kSinkKey, sink); }

}  // namespace ludex::gtk
