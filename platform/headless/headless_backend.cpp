#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <utility>

namespace ludex {

HeadlessBackend& HeadlessBackend::InstallNew() {
  auto backend = std::make_unique<HeadlessBackend>();
  HeadlessBackend& ref = *backend;
  Backend::Install(std::move(backend));
  return ref;
}

HeadlessBackend::Window& HeadlessBackend::At(Hwnd hwnd) {
  const auto it = windows_.find(hwnd);
  if (it == windows_.end()) throw std::out_of_range("no window " + std::to_string(hwnd));
  return it->second;
}

const HeadlessBackend::Window& HeadlessBackend::At(Hwnd hwnd) const {
  return const_cast<HeadlessBackend*>(this)->At(hwnd);
}

void HeadlessBackend::CreateFormWindow(Hwnd hwnd, const FormWindowSettings& settings, WindowSink* sink) {
  Window w;
  w.top_level = true;
  w.rect = {0, 0, settings.client_width, settings.client_height};
  w.title = settings.title;
  w.icon = settings.icon_file;
  w.settings = settings;
  w.sink = sink;
  windows_[hwnd] = std::move(w);
}

void HeadlessBackend::CreateChildWindow(Hwnd hwnd, Hwnd parent, NativeKind kind, PixelRect rect, WindowSink* sink) {
  Window w;
  w.parent = parent;
  w.kind = kind;
  w.rect = rect;
  w.visible = true;
  w.sink = sink;
  windows_[hwnd] = std::move(w);
  auto& siblings = At(parent).children;
  siblings.insert(siblings.begin(), hwnd);
}

void HeadlessBackend::DestroyWindow(Hwnd hwnd) {
  if (!Exists(hwnd)) return;
  for (Hwnd child : std::vector<Hwnd>(At(hwnd).children)) DestroyWindow(child);
  const Hwnd parent = At(hwnd).parent;
  if (parent != 0 && Exists(parent)) std::erase(At(parent).children, hwnd);
  windows_.erase(hwnd);
}

void HeadlessBackend::RestackChildren(Hwnd parent, const std::vector<Hwnd>& top_first) {
  auto& children = At(parent).children;
  std::vector<Hwnd> rest;
  for (Hwnd c : children) {
    if (std::find(top_first.begin(), top_first.end(), c) == top_first.end()) rest.push_back(c);
  }
  children = top_first;
  children.insert(children.end(), rest.begin(), rest.end());
}

void HeadlessBackend::MoveWindow(Hwnd hwnd, PixelRect rect) { At(hwnd).rect = rect; }
void HeadlessBackend::ShowWindow(Hwnd hwnd, bool visible) { At(hwnd).visible = visible; }

void HeadlessBackend::ShowCentred(Hwnd hwnd) {
  Window& w = At(hwnd);
  w.rect.x = (screen_.width - w.rect.width) / 2;
  w.rect.y = (screen_.height - w.rect.height) / 2;
  w.visible = true;
  w.centred = true;
}

void HeadlessBackend::BringToFront(Hwnd hwnd) { At(hwnd).visible = true; }
void HeadlessBackend::SetWindowEnabled(Hwnd hwnd, bool enabled) { At(hwnd).enabled = enabled; }
void HeadlessBackend::SetTitle(Hwnd hwnd, const std::string& utf8) { At(hwnd).title = utf8; }
std::string HeadlessBackend::Title(Hwnd hwnd) const { return At(hwnd).title; }
void HeadlessBackend::SetIcon(Hwnd hwnd, const std::vector<unsigned char>& ico_file) { At(hwnd).icon = ico_file; }
void HeadlessBackend::Invalidate(Hwnd hwnd) {
  if (Exists(hwnd)) ++At(hwnd).paint_requests;
}
void HeadlessBackend::SetMousePointer(Hwnd hwnd, int pointer) { At(hwnd).mouse_pointer = pointer; }
void HeadlessBackend::SetTabOrder(Hwnd form, const std::vector<Hwnd>& order) { At(form).tab_order = order; }
void HeadlessBackend::SetText(Hwnd text_box, const std::string& utf8) { At(text_box).text = utf8; }
std::string HeadlessBackend::Text(Hwnd text_box) const { return At(text_box).text; }
void HeadlessBackend::Navigate(Hwnd browser, const std::string& address) {
  At(browser).navigations.push_back(address);
  if (on_navigate) on_navigate(browser, address);
}

void HeadlessBackend::Run() {}

void HeadlessBackend::DoEvents() {
  ++do_events_calls;
  if (on_do_events) on_do_events();
}

void HeadlessBackend::EndProgram() { throw ProgramEnded(); }

int HeadlessBackend::StartTimer(int interval_ms, std::function<void()> tick) {
  const int id = next_timer_++;
  timers_[id] = {interval_ms, now_ + interval_ms, std::move(tick)};
  return id;
}

void HeadlessBackend::StopTimer(int id) { timers_.erase(id); }

void HeadlessBackend::Advance(int ms) {
  const long end = now_ + ms;
  for (;;) {
    // The earliest due timer fires first; ties in the order they were started.
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due)) next = it;
    }
    if (next == timers_.end()) break;
    now_ = next->second.due;
    next->second.due += next->second.interval;
    auto tick = next->second.tick;  // the tick may stop its own timer
    tick();
  }
  now_ = end;
}

void HeadlessBackend::Mouse(Hwnd hwnd, RawMouse::Kind kind, double x, double y, std::int16_t button, std::int16_t shift,
                            bool double_press) {
  if (kind == RawMouse::Kind::Press) {
    pressed_ = hwnd;
    release_swallowed_ = false;
  } else if (kind == RawMouse::Kind::Release && std::exchange(release_swallowed_, false)) {
    return;
  }
  Window& w = At(hwnd);
  if (!w.enabled || !w.sink) return;
  RawMouse m;
  m.kind = kind;
  m.button = button;
  m.shift = shift;
  m.x = x;
  m.y = y;
  m.double_press = double_press;
  w.sink->OnMouse(m);
}

void HeadlessBackend::RunMoveLoop(Hwnd hwnd) {
  release_swallowed_ = true;
  if (Exists(pressed_) && At(pressed_).sink) {
    RawMouse lost;
    lost.kind = RawMouse::Kind::CaptureLost;
    At(pressed_).sink->OnMouse(lost);
  }
  ReportPlace(hwnd);
}

void HeadlessBackend::Click(Hwnd hwnd, double x, double y, std::int16_t button) {
  Mouse(hwnd, RawMouse::Kind::Press, x, y, button);
  Mouse(hwnd, RawMouse::Kind::Release, x, y, button);
}

void HeadlessBackend::DoubleClick(Hwnd hwnd, double x, double y) {
  Click(hwnd, x, y);
  Mouse(hwnd, RawMouse::Kind::Press, x, y, 1, 0, true);
  Mouse(hwnd, RawMouse::Kind::Release, x, y);
}

int HeadlessBackend::Type(Hwnd text_box, int char_code) {
  Window& w = At(text_box);
  const int code = w.sink ? w.sink->OnKeyPress(char_code) : char_code;
  if (code == 13 || code == 0) return code;
  if (code == 8) {
    if (!w.text.empty()) w.text.pop_back();
  } else if (code < 0x80) {
    w.text += static_cast<char>(code);
  }
  return code;
}

CairoSurface HeadlessBackend::Paint(Hwnd hwnd) {
  const Window& w = At(hwnd);
  CairoSurface image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w.rect.width, w.rect.height));
  CairoContext cr(cairo_create(image.get()));
  if (w.sink) w.sink->OnPaint(cr.get());
  cairo_surface_flush(image.get());
  return image;
}

}  // namespace ludex
