// One window of the gtk back end, known to the core by its handle: a form (a
// top-level GtkWindow) or a child placed in its parent's GtkFixed. Every
// window is realized as soon as it is made, so that its GdkWindow exists for
// stacking and cursors before the form is first shown.
//
// A sink may destroy its own window from inside a notification; handlers
// therefore call the sink last and touch nothing of theirs afterwards.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "platform/backend.h"

namespace ludex::gtk {

class NativeWindow {
 public:
  NativeWindow(Hwnd hwnd, NativeWindow* parent);
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;
  virtual ~NativeWindow();

  Hwnd hwnd() const { return hwnd_; }
  NativeWindow* parent() const { return parent_; }
  // The outermost widget: the GtkWindow of a form, or what sits in the parent's GtkFixed.
  virtual GtkWidget* root() const = 0;
  // Where child windows are placed; null for windows that hold none.
  virtual GtkFixed* child_area() const { return nullptr; }

  virtual void Move(PixelRect rect);
  virtual void SetTitle(const std::string& utf8) { title_ = utf8; }
  const std::string& title() const { return title_; }
  virtual void SetPointer(int /*pointer*/) {}
  virtual void Invalidate() { gtk_widget_queue_draw(root()); }

  // Children, bottom first; a new child goes on top.
  const std::vector<NativeWindow*>& children() const { return children_; }
  void Restack(const std::vector<NativeWindow*>& top_first);
  void RaiseChild(NativeWindow* child);

 protected:
  // Puts `root` into the parent's GtkFixed at `rect`, on top of its siblings,
  // shown and realized. Called once by each kind of child window.
  void Site(PixelRect rect);

 private:
  void ApplyStacking() const;

  Hwnd hwnd_;
  NativeWindow* parent_;
  std::string title_;
  std::vector<NativeWindow*> children_;
};

}  // namespace ludex::gtk
