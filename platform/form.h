// A top-level window built from its window definition. Each form class has
// one shared instance (Shared<F>()); loading it creates its window and
// controls and runs Form_Load; unloading destroys them and the next load
// starts afresh.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/control.h"
#include "platform/definition.h"
#include "platform/painted_window.h"

namespace ludex {


class Form : public PaintedWindow {
 public:
  // `definition_resource` names the compiled-in definition the form is built from.
  explicit Form(std::string definition_resource);
  ~Form() override;

  bool Loaded() const { return loaded_; }
  // Creates the window and controls from the definition, then runs Form_Load.
  // Does nothing when already loaded.
  void Load();
  // Loads if needed and shows the window; a shown form is only brought forward.
  void Show();
  // Runs Form_Unload; unless it cancels, the window and its controls go.
  void Unload();

  const std::string& Name() const { return definition_.name; }
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  const std::vector<unsigned char>& Icon() const { return icon_; }
  void SetIcon(std::vector<unsigned char> ico_file);

  // The control of that name (and index in a control array), or nullptr.
  Control* Find(std::string_view name, int index = -1) const;
  // The control of that name and type; throws std::logic_error when there is none.
  template <typename T>
  T& Get(std::string_view name, int index = -1) const {
    auto* control = dynamic_cast<T*>(Find(name, index));
    if (!control) MissingControl(name);
    return *control;
  }

  void OnCloseRequest() override { Unload(); }

  // Every loaded form goes at once, without unload notifications (the end of the program).
  static void DiscardAll();

 protected:
  // Wire the controls' events to the form's handlers; runs before Form_Load.
  virtual void ConnectEvents() {}
  virtual void Form_Load() {}
  virtual void Form_Unload(std::int16_t& cancel) { (void)cancel; }
  virtual void Form_Click() {}

  void PaintBackground(cairo_t* cr) override;
  bool SelfContains(double x, double y) const override;
  void SelfClick() override { Form_Click(); }

 private:
  class Builder;
  void Build();
  void BuildControl(const ControlDefinition& d, Builder& builder);
  void Destroy();
  [[noreturn]] void MissingControl(std::string_view name) const;

  std::string resource_;
  FormDefinition definition_;
  bool loaded_ = false;
  bool shown_ = false;
  std::string caption_;
  std::vector<unsigned char> icon_;
  std::vector<std::unique_ptr<Control>> controls_;  // creation order
};

template <typename F>
F& Shared() {
  static F instance;
  return instance;
}

}  // namespace ludex
