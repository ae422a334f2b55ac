#include "platform/gtk/native_window.h"

#include <algorithm>

namespace ludex::gtk {

NativeWindow::NativeWindow(Hwnd hwnd, NativeWindow* parent) : hwnd_(hwnd), parent_(parent) {}

NativeWindow::~NativeWindow() {
  if (parent_) std::erase(parent_->children_, this);
}

void NativeWindow::Site(PixelRect rect) {
  GtkWidget* widget = root();
  gtk_fixed_put(parent_->child_area(), widget, rect.x, rect.y);
  gtk_widget_set_size_request(widget, rect.width, rect.height);
  gtk_widget_show(widget);
  gtk_widget_realize(widget);
  // A new GdkWindow starts on top of its siblings.
  parent_->children_.push_back(this);
}

void NativeWindow::Move(PixelRect rect) {
  gtk_fixed_move(parent_->child_area(), root(), rect.x, rect.y);
  gtk_widget_set_size_request(root(), rect.width, rect.height);
}

void NativeWindow::Restack(const std::vector<NativeWindow*>& top_first) {
  std::vector<NativeWindow*> bottom_first;
  for (auto it = top_first.rbegin(); it != top_first.rend(); ++it) {
    const bool mine = std::ranges::find(children_, *it) != children_.end();
    if (mine && std::ranges::find(bottom_first, *it) == bottom_first.end()) bottom_first.push_back(*it);
  }
  // Children not named keep their order, above the ones named.
  for (NativeWindow* child : children_) {
    if (std::ranges::find(bottom_first, child) == bottom_first.end()) bottom_first.push_back(child);
  }
  children_ = std::move(bottom_first);
  ApplyStacking();
}

void NativeWindow::RaiseChild(NativeWindow* child) {
  std::erase(children_, child);
  children_.push_back(child);
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
