// One window of the gtk back end, known to the core by its handle: a form (a
// top-level GtkWindow) or a child placed in its parent's GtkFixed. Every
// window is realized as soon as it is made, so that its GdkWindow exists for
// stacking and cursors before the form is first shown.
//
// The window's place, style words and region are kept here as the window
// system reports them: a place that was just set reads back at once, while
// GTK applies it at its next layout.
//
// A sink may destroy its own window from inside a notification; handlers
// therefore call the sink last and touch nothing of theirs afterwards.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/window_system.h"

namespace ludex::gtk {

class NativeWindow {
 public:
  NativeWindow(Hwnd hwnd, NativeWindow* parent, PixelRect rect, WindowSink* sink = nullptr);
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;
  virtual ~NativeWindow();

  Hwnd hwnd() const { return hwnd_; }
  // What the core hears of the window through; null for windows it does not hear from.
  WindowSink* sink() const { return sink_; }
  // Null for a top-level window.
  NativeWindow* parent() const { return parent_; }
  // The window's own outermost widget: the GtkWindow of a form, or what sits
  // in the parent's GtkFixed.
  virtual GtkWidget* root() const = 0;
  // What shows and hides the window: root(), or the GtkWindow that holds it
  // while a child window is made top-level.
  GtkWidget* outer() const { return floating_ ? floating_.get() : root(); }
  // Where child windows are placed; null for windows that hold none.
  virtual GtkFixed* child_area() const { return nullptr; }

  // A child's place in its parent's client pixels; a form's client area on the screen.
  PixelRect place() const { return place_; }
  virtual void Move(PixelRect place);
  PixelPoint ClientOriginOnScreen() const;
  // Tells the core where the window is now, after the window system placed it
  // by itself; the caller touches nothing of the window's afterwards.
  void ReportPlace() const;
  // The whole window on the screen, frame included.
  virtual Rect WindowRect() const;

  virtual void SetTitle(const std::string& utf8);
  const std::string& title() const { return title_; }
  virtual void SetPointer(int /*pointer*/) {}
  virtual void Invalidate() { gtk_widget_queue_draw(root()); }
  void SetEnabled(bool enabled);
  void Show(bool visible);
  // Brings the window to the top of its siblings, or of the screen.
  void Raise();
  // Makes the window a child of `new_parent`, or top-level when null,
  // keeping its place on the screen.
  void Reparent(NativeWindow* new_parent);

  std::int32_t StyleWord(std::int32_t index) const;
  // Replaces a style word and applies what it says; returns the previous value.
  std::int32_t SetStyleWord(std::int32_t index, std::int32_t value);
  // The window's drawing and mouse are clipped to `region` (window pixels); none: unclipped.
  void SetRegion(std::optional<RoundRectRegion> region);
  const std::optional<RoundRectRegion>& region() const { return region_; }

  // Children, bottom first; a new child goes on top.
  const std::vector<NativeWindow*>& children() const { return children_; }
  void Restack(const std::vector<NativeWindow*>& top_first);
  void RaiseChild(NativeWindow* child);
  // Puts `child` just below `sibling`.
  void PlaceChildBelow(NativeWindow* child, NativeWindow* sibling);

 protected:
  // Puts `root` into the parent's GtkFixed at the window's place, on top of
  // its siblings, shown and realized. Called once by each kind of child window.
  void Site();
  // Records a place that the window already has.
  void Record(PixelRect place) { place_ = place; }
  // What a change of the style words means for this kind of window.
  virtual void ApplyStyle() {}
  // Decorations, kind and task-bar entry of a top-level GtkWindow from the style words.
  void ApplyTopLevelStyle(GtkWidget* window, bool in_task_bar) const;
  // Clips the window to region(); by default only the mouse is clipped.
  virtual void ApplyRegion();
  // Puts the children's GdkWindows in their order again. Showing a GdkWindow
  // raises it, so this follows every mapping of children.
  void ApplyStacking() const;

 private:
  // Taken out of its container, a widget loses its GdkWindows and those of
  // everything in it.
  void RealizeChildrenInOrder() const;

  Hwnd hwnd_;
  WindowSink* sink_;
  NativeWindow* parent_;
  PixelRect place_;
  std::string title_;
  std::int32_t style_ = 0;
  std::int32_t ex_style_ = 0;
  std::optional<RoundRectRegion> region_;
  std::vector<NativeWindow*> children_;
  WidgetPtr floating_;
};

}  // namespace ludex::gtk
