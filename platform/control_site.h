// What a control built from its window definition is given by the form that
// builds it. Each family of controls (windowless, windowed, user controls)
// knows its own steps (Control::Build), so that a new kind of control needs
// nothing of the form.
#pragma once

#include <string>

#include "platform/backend.h"
#include "platform/definition.h"

namespace ludex {

class UserControl;
class WindowedControl;
class WindowlessPart;

class ControlSite {
 public:
  virtual ~ControlSite() = default;
  // The window the control goes on.
  virtual Hwnd ContainerWindow() const = 0;
  // A windowless control, drawn by its container above what the container draws itself.
  virtual void AddPart(WindowlessPart& part) = 0;
  // A control with a window of its own, once the window is made.
  virtual void AddWindow(WindowedControl& control) = 0;
  // Builds the controls `definition` places on `container`.
  virtual void BuildChildren(const ControlDefinition& definition, UserControl& container) = 0;
  // Ends the build with a DefinitionError on the control's key.
  [[noreturn]] virtual void Fail(const ControlDefinition& definition, const std::string& key,
                                 const std::string& problem) = 0;
};

}  // namespace ludex
