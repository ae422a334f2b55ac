#include "platform/form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/control_registry.h"
#include "platform/control_site.h"
#include "platform/resources.h"
#include "platform/units.h"
#include "platform/user_control.h"
#include "platform/windowless_part.h"

namespace ludex {

namespace {

std::vector<unsigned char> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

std::vector<Form*>& LiveForms() {
  static std::vector<Form*> forms;
  return forms;
}

// What building the controls gathers for the form to arrange once all are made.
struct Built {
  struct Part {
    PaintedWindow* container;
    WindowlessPart* part;
  };
  std::vector<Part> parts;
  std::vector<WindowedControl*> windows;  // in the order they were made
};

}  // namespace

class Form::Builder final : public ControlSite {
 public:
  Builder(Form& form, PaintedWindow& container, Hwnd container_hwnd, Built& built)
      : form_(form), container_(container), container_hwnd_(container_hwnd), built_(built) {}

  Hwnd ContainerWindow() const override { return container_hwnd_; }
  void AddPart(WindowlessPart& part) override { built_.parts.push_back({&container_, &part}); }
  void AddWindow(WindowedControl& control) override { built_.windows.push_back(&control); }
  void BuildChildren(const ControlDefinition& definition, UserControl& container) override {
    Builder inner(form_, container, container.hwnd(), built_);
    for (const ControlDefinition& child : definition.children) form_.BuildControl(child, inner);
  }
  [[noreturn]] void Fail(const ControlDefinition& definition, const std::string& key,
                         const std::string& problem) override {
    throw DefinitionError(form_.definition_.file, definition.name, key, problem);
  }

 private:
  Form& form_;
  PaintedWindow& container_;
  Hwnd container_hwnd_;
  Built& built_;
};

Form::Form(std::string definition_resource) : resource_(std::move(definition_resource)) {
  LiveForms().push_back(this);
}

Form::~Form() {
  std::erase(LiveForms(), this);
  if (loaded_ && Backend::Installed()) Destroy();
}

void Form::DiscardAll() {
  for (Form* form : std::vector<Form*>(LiveForms())) {
    if (form->loaded_) form->Destroy();
  }
}

void Form::Load() {
  if (loaded_) return;
  Build();
  loaded_ = true;
  ConnectEvents();
  Form_Load();
}

void Form::Show() {
  Load();
  if (!loaded_) return;  // Form_Load may unload the form again
  if (shown_) {
    Backend::The().BringToFront(hwnd());
    return;
  }
  shown_ = true;
  if (definition_.centre_on_screen) {
    Backend::The().ShowCentred(hwnd());
  } else {
    Backend::The().ShowWindow(hwnd(), true);
  }
}

void Form::Unload() {
  if (!loaded_) return;
  std::int16_t cancel = 0;
  Form_Unload(cancel);
  if (cancel != 0 || !loaded_) return;
  Destroy();
}

void Form::Build() {
  definition_ = ParseFormDefinition(resource_, FindResource(resource_));
  caption_ = definition_.caption;
  icon_ = definition_.icon.empty() ? std::vector<unsigned char>{} : Bytes(FindResource(definition_.icon));
  FormWindowSettings settings;
  settings.title = caption_;
  settings.client_width = TwipsToPixels(definition_.client_width);
  settings.client_height = TwipsToPixels(definition_.client_height);
  settings.border = definition_.border;
  settings.show_in_taskbar = definition_.show_in_taskbar;
  settings.resizable = false;
  settings.icon_file = icon_;
  const Hwnd form_hwnd = AllocateHandle();
  Backend::The().CreateFormWindow(form_hwnd, settings, this);

  Built built;
  Builder builder(*this, *this, form_hwnd, built);
  for (const ControlDefinition& d : definition_.controls) BuildControl(d, builder);
  // The host's windowless controls lie above whatever their container draws
  // itself; added bottom first, they end in the definition's z-order.
  for (auto it = built.parts.rbegin(); it != built.parts.rend(); ++it) it->container->AddPart(it->part);

  // The definition lists controls from the top of the z-order down.
  std::vector<Hwnd> top_first;
  for (const WindowedControl* w : built.windows) {
    if (w->ParentWindow() == form_hwnd) top_first.push_back(w->hwnd());
  }
  Backend::The().RestackChildren(form_hwnd, top_first);
  std::vector<const WindowedControl*> focusable(built.windows.begin(), built.windows.end());
  std::stable_sort(focusable.begin(), focusable.end(),
                   [](const auto* a, const auto* b) { return a->TabIndex() < b->TabIndex(); });
  std::vector<Hwnd> tab_order;
  for (const auto* w : focusable) tab_order.push_back(w->hwnd());
  Backend::The().SetTabOrder(form_hwnd, tab_order);
}

void Form::BuildControl(const ControlDefinition& d, Builder& builder) {
  std::unique_ptr<Control> control = ControlRegistry::Create(definition_.file, d);
  Control& c = *control;
  controls_.push_back(std::move(control));
  c.SetTabIndex(d.tab_index);
  c.SetVisible(d.visible);
  c.SetEnabled(d.enabled);
  c.Build(d, builder);
}

void Form::Destroy() {
  const Hwnd form_hwnd = hwnd();
  // Controls go first, children before the window that holds them.
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) it->reset();
  controls_.clear();
  for (WindowlessPart* part : std::vector<WindowlessPart*>(PartsTopFirst())) RemovePart(part);
  if (form_hwnd != 0) Backend::The().DestroyWindow(form_hwnd);
  ReleaseHandle();
  loaded_ = false;
  shown_ = false;
}

std::string Form::Caption() const { return loaded_ ? Backend::The().Title(hwnd()) : caption_; }

void Form::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (loaded_) Backend::The().SetTitle(hwnd(), caption);
}

void Form::SetIcon(std::vector<unsigned char> ico_file) {
  icon_ = std::move(ico_file);
  if (loaded_) Backend::The().SetIcon(hwnd(), icon_);
}

Control* Form::Find(std::string_view name, int index) const {
  for (const auto& control : controls_) {
    if (control->Name() == name && control->Index() == index) return control.get();
  }
  return nullptr;
}

void Form::MissingControl(std::string_view name) const {
  throw std::logic_error("form " + definition_.name + " has no control " + std::string(name) + " of that kind");
}

void Form::PaintBackground(cairo_t* cr) {
  const Color back = ResolveColor(definition_.back_color);
  cairo_set_source_rgb(cr, RedOf(back) / 255.0, GreenOf(back) / 255.0, BlueOf(back) / 255.0);
  cairo_paint(cr);
}

bool Form::SelfContains(double x, double y) const {
  return x >= 0 && y >= 0 && x < definition_.client_width && y < definition_.client_height;
}

}  // namespace ludex
