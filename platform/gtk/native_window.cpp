#include "platform/gtk/native_window.h"

#include <algorithm>
#include <utility>

#include "platform/gtk/region.h"

namespace ludex::gtk {

NativeWindow::NativeWindow(Hwnd hwnd, NativeWindow* parent, PixelRect place, WindowSink* sink)
    : hwnd_(hwnd), sink_(sink), parent_(parent), place_(place) {}

NativeWindow::~NativeWindow() {
  if (parent_) std::erase(parent_->children_, this);
}

void NativeWindow::Site() {
  GtkWidget* widget = root();
  gtk_fixed_put(parent_->child_area(), widget, place_.x, place_.y);
  gtk_widget_set_size_request(widget, place_.width, place_.height);
  gtk_widget_show(widget);
  gtk_widget_realize(widget);
  // A new GdkWindow starts on top of its siblings.
  parent_->children_.push_back(this);
}

void NativeWindow::Move(PixelRect place) {
  place_ = place;
  gtk_widget_set_size_request(root(), place.width, place.height);
  if (parent_) {
    gtk_fixed_move(parent_->child_area(), root(), place.x, place.y);
  } else {
    gtk_window_resize(GTK_WINDOW(floating_.get()), std::max(place.width, 1), std::max(place.height, 1));
    gtk_window_move(GTK_WINDOW(floating_.get()), place.x, place.y);
  }
}

void NativeWindow::Show(bool visible) {
  gtk_widget_set_visible(outer(), visible);
  if (visible && parent_) parent_->ApplyStacking();
}

void NativeWindow::Raise() {
  if (parent_) {
    parent_->RaiseChild(this);
  } else {
    gtk_window_present(GTK_WINDOW(outer()));
  }
}

void NativeWindow::Reparent(NativeWindow* new_parent) {
  const PixelPoint on_screen = ClientOriginOnScreen();
  GtkWidget* widget = root();
  const bool visible = gtk_widget_get_visible(outer());
  const GObjectPtr<GtkWidget> keep = Ref(widget);
  gtk_container_remove(GTK_CONTAINER(gtk_widget_get_parent(widget)), widget);
  if (parent_) std::erase(parent_->children_, this);
  floating_.reset();
  parent_ = new_parent;
  if (parent_) {
    const PixelPoint origin = parent_->ClientOriginOnScreen();
    place_.x = on_screen.x - origin.x;
    place_.y = on_screen.y - origin.y;
    Site();
  } else {
    place_.x = on_screen.x;
    place_.y = on_screen.y;
    floating_ = KeepWidget(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    gtk_window_set_title(GTK_WINDOW(floating_.get()), title_.c_str());
    ApplyTopLevelStyle(floating_.get(), false);
    ApplyRegion();
    gtk_container_add(GTK_CONTAINER(floating_.get()), widget);
    Move(place_);
    gtk_widget_realize(widget);
  }
  // GTK keeps the insensitivity a widget inherited from the container it
  // left; switching its own flag off and on takes the new container's afresh.
  gtk_widget_set_sensitive(widget, FALSE);
  gtk_widget_set_sensitive(widget, (style_ & WS_DISABLED) == 0);
  gtk_widget_set_visible(outer(), visible);
  RealizeChildrenInOrder();
}

void NativeWindow::RealizeChildrenInOrder() const {
  // Each GdkWindow made starts on top, so realizing bottom first restores the stacking.
  for (NativeWindow* child : children_) {
    gtk_widget_realize(child->root());
    child->RealizeChildrenInOrder();
  }
}

void NativeWindow::ApplyTopLevelStyle(GtkWidget* window, bool in_task_bar) const {
  GtkWindow* top = GTK_WINDOW(window);
  const bool tool = (ex_style_ & WS_EX_TOOLWINDOW) != 0;
  gtk_window_set_decorated(top, (style_ & (WS_CAPTION | WS_THICKFRAME)) != 0);
  // GTK takes the kind of a window only before it is first shown.
  if (!gtk_widget_get_mapped(window)) {
    gtk_window_set_type_hint(top, tool ? GDK_WINDOW_TYPE_HINT_UTILITY : GDK_WINDOW_TYPE_HINT_NORMAL);
  }
  gtk_window_set_skip_taskbar_hint(top, tool || !in_task_bar);
}

PixelPoint NativeWindow::ClientOriginOnScreen() const {
  PixelPoint origin{place_.x, place_.y};
  if (parent_) {
    const PixelPoint parent_origin = parent_->ClientOriginOnScreen();
    origin.x += parent_origin.x;
    origin.y += parent_origin.y;
  }
  return origin;
}

void NativeWindow::ReportPlace() const {
  if (sink_) sink_->OnPlaced(place_);
}

Rect NativeWindow::WindowRect() const {
  const PixelPoint origin = ClientOriginOnScreen();
  return {origin.x, origin.y, origin.x + place_.width, origin.y + place_.height};
}

void NativeWindow::SetEnabled(bool enabled) {
  SetStyleWord(GWL_STYLE, enabled ? style_ & ~WS_DISABLED : style_ | WS_DISABLED);
}

std::int32_t NativeWindow::StyleWord(std::int32_t index) const {
  if (index == GWL_STYLE) return style_;
  if (index == GWL_EXSTYLE) return ex_style_;
  return 0;
}

std::int32_t NativeWindow::SetStyleWord(std::int32_t index, std::int32_t value) {
  std::int32_t* word = index == GWL_STYLE ? &style_ : index == GWL_EXSTYLE ? &ex_style_ : nullptr;
  if (!word) return 0;
  const std::int32_t previous = std::exchange(*word, value);
  gtk_widget_set_sensitive(root(), (style_ & WS_DISABLED) == 0);
  if (floating_) ApplyTopLevelStyle(floating_.get(), false);
  ApplyStyle();
  return previous;
}

void NativeWindow::SetRegion(std::optional<RoundRectRegion> region) {
  region_ = std::move(region);
  ApplyRegion();
}

void NativeWindow::ApplyRegion() {
  const CairoRegionPtr shape = region_ ? ToCairoRegion(*region_) : nullptr;
  gtk_widget_input_shape_combine_region(root(), shape.get());
  if (floating_) gtk_widget_shape_combine_region(floating_.get(), shape.get());
}

void NativeWindow::SetTitle(const std::string& utf8) {
  title_ = utf8;
  if (floating_) gtk_window_set_title(GTK_WINDOW(floating_.get()), title_.c_str());
}

void NativeWindow::Restack(const std::vector<NativeWindow*>& top_first) {
  // Children not named keep their order, below the ones named.
  std::vector<NativeWindow*> bottom_first;
  for (NativeWindow* child : children_) {
    if (std::ranges::find(top_first, child) == top_first.end()) bottom_first.push_back(child);
  }
  for (auto it = top_first.rbegin(); it != top_first.rend(); ++it) {
    const bool mine = std::ranges::find(children_, *it) != children_.end();
    if (mine && std::ranges::find(bottom_first, *it) == bottom_first.end()) bottom_first.push_back(*it);
  }
  children_ = std::move(bottom_first);
  ApplyStacking();
}

void NativeWindow::RaiseChild(NativeWindow* child) {
  std::erase(children_, child);
  children_.push_back(child);
  ApplyStacking();
}

void NativeWindow::PlaceChildBelow(NativeWindow* child, NativeWindow* sibling) {
  std::erase(children_, child);
  auto at = std::ranges::find(children_, sibling);
  children_.insert(at, child);
  ApplyStacking();
}

void NativeWindow::ApplyStacking() const {
  for (NativeWindow* child : children_) {
    GtkWidget* widget = child->root();
    if (gtk_widget_get_has_window(widget) && gtk_widget_get_realized(widget)) {
      gdk_window_raise(gtk_widget_get_window(widget));
    }
  }
}

}  // namespace ludex::gtk
