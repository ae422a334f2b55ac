// What every control on a form has: a name (and index in a control array),
// a place in its container in twips, visibility, enabled state, tab index.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/accessible.h"
#include "platform/raise_event.h"

namespace ludex {

class ControlSite;
struct ControlDefinition;

// Mouse notification arguments, passed by reference like the events they feed:
// button mask (1 left, 2 right, 4 middle), shift mask, position in twips.
using MouseHandler = std::function<void(std::int16_t& button, std::int16_t& shift, float& x, float& y)>;
using Handler = std::function<void()>;

class Control {
 public:
  explicit Control(std::string name, int index = -1) : name_(std::move(name)), index_(index) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  int Index() const { return index_; }  // -1 outside a control array

  double Left() const { return left_; }
  double Top() const { return top_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  // Place and size in twips, relative to the container.
  void Move(double left, double top, double width, double height);
  void Move(double left, double top) { Move(left, top, width_, height_); }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  int TabIndex() const { return tab_index_; }
  void SetTabIndex(int tab_index) { tab_index_ = tab_index; }

  // Takes its place and settings from its window definition, on the container
  // `site` names; the form has already set the tab index, visibility and enabled state.
  virtual void Build(const ControlDefinition& definition, ControlSite& site) = 0;

  bool Contains(double x, double y) const {
    return x >= left_ && y >= top_ && x < left_ + width_ && y < top_ + height_;
  }

  // What a screen reader says of the control: by default no role (it is not
  // shown) and no name; kinds of control choose their own defaults.
  virtual AccessibleRole Role() const { return role_.value_or(AccessibleRole::None); }
  virtual std::string AccessibleName() const { return accessible_name_.value_or(""); }
  AccessibleDescription Describe() const { return {Role(), AccessibleName()}; }
  void SetRole(AccessibleRole role) {
    role_ = role;
    OnAccessibleChanged();
  }
  void SetAccessibleName(std::string name) {
    accessible_name_ = std::move(name);
    OnAccessibleChanged();
  }

  // Ends when the control is destroyed; whoever raises one of its events watches it.
  const Lifetime& lifetime() const { return lifetime_; }

 protected:
  // Raises one of the control's own events; false when the handler destroyed the control.
  template <typename Signature, typename... Args>
  bool Raise(const std::function<Signature>& event, Args&... args) const {
    return RaiseEvent(lifetime_, event, args...);
  }

  // Hooks for subclasses; called after the state changed.
  virtual void OnMoved(bool size_changed) { (void)size_changed; }
  virtual void OnVisibleChanged() {}
  virtual void OnEnabledChanged() {}
  virtual void OnAccessibleChanged() {}

 private:
  std::string name_;
  int index_;
  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  int tab_index_ = 0;
  Lifetime lifetime_;

 protected:
  // Set explicitly, rather than the kind's default.
  std::optional<AccessibleRole> role_;
  std::optional<std::string> accessible_name_;
};

}  // namespace ludex
