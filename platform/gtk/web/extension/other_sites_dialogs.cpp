// Loaded by WebKit into every web process. The engine tells the program of a
// page's alert(), confirm() or prompt() without saying which frame asked, and
// the program names the main page's site on the window it shows; an
// advertising frame of another site could ask for the player's password
// under the game's name. So before any script of a window runs:
// - a window of another origin than its main page (and its nested and fresh
//   "about:blank" frames, which share its origin) gets dialogs that answer as
//   cancelled at once, print() one that does nothing, and cannot undo them;
// - every other window gets dialogs that ask about that window whatever
//   "this" they are called on, and begin their words with the program's mark,
//   which no page can read. The engine shows a dialog for whichever window
//   a dialog function is called on, and a frame could otherwise borrow the
//   untouched alert() of a window of its own site (a pop-up it opened, or a
//   frame it made where scripts do not run and so nothing is replaced) and
//   call it on itself; the program shows no dialog without the mark.

#include <unistd.h>
#include <webkit2/webkit-web-extension.h>

#include <string>

#include "platform/cairo_ptr.h"
#include "platform/diagnostics.h"

namespace {

using ludex::Debug;
using ludex::DebugDomain;
using ludex::GObjectPtr;

// Read in the extension's own world, whose view of the window no page script can change.
constexpr const char* kSameOriginAsMainPage =
    "(() => { try { return top.origin === origin; } catch (e) { return false; } })()";

// Run in the page's world on a window no script has touched yet, with
// whether the window may ask and the mark; whatever the page may change
// later (globalThis, Reflect, Object) is taken now. A window already done
// (the engine keeps the window of "about:blank" for the first page of its
// origin) is left as it is.
constexpr const char* kDialogs = R"((own, mark) => {
  const self = globalThis;
  const call = Reflect.apply;
  const define = (name, asking, unseen) => {
    const now = Object.getOwnPropertyDescriptor(self, name);
    if (!now || !now.configurable) return;
    Object.defineProperty(self, name, {
      value: own ? asking(now.value) : unseen, writable: own, enumerable: true, configurable: false,
    });
  };
  define('alert', (shown) => function alert(message = '') { return call(shown, self, [mark + message]); },
         function alert() {});
  define('confirm', (shown) => function confirm(message = '') { return call(shown, self, [mark + message]); },
         function confirm() { return false; });
  define('prompt', (shown) => function prompt(message = '', value = '') {
    return call(shown, self, [mark + message, value]);
  }, function prompt() { return null; });
  define('print', (shown) => function print() { return call(shown, self, []); }, function print() {});
})";

struct Setup {
  // Both held for the life of the process, as the handler that uses them is.
  WebKitScriptWorld* own_world = nullptr;
  std::string mark;
};

Setup& TheSetup() {
  static Setup setup;
  return setup;
}

void ReportException(JSCContext* context) {
  if (JSCException* exception = jsc_context_get_exception(context)) {
    Debug(DebugDomain::Web, "web process: %s", jsc_exception_get_message(exception));
    jsc_context_clear_exception(context);
  }
}

GObjectPtr<JSCValue> Evaluate(JSCContext* context, const char* script) {
  GObjectPtr<JSCValue> value(jsc_context_evaluate(context, script, -1));
  ReportException(context);
  return value;
}

void OnWindowObjectCleared(WebKitScriptWorld* page_world, WebKitWebPage*, WebKitFrame* frame, gpointer) {
  const Setup& setup = TheSetup();
  const GObjectPtr<JSCContext> own(webkit_frame_get_js_context_for_script_world(frame, setup.own_world));
  const GObjectPtr<JSCValue> same = Evaluate(own.get(), kSameOriginAsMainPage);
  const bool asks_about_itself = same && jsc_value_to_boolean(same.get());
  if (!asks_about_itself) {
    Debug(DebugDomain::Web, "web process: no dialogs for a frame of another site (%s)", webkit_frame_get_uri(frame));
  }
  const GObjectPtr<JSCContext> page(webkit_frame_get_js_context_for_script_world(frame, page_world));
  const GObjectPtr<JSCValue> dialogs = Evaluate(page.get(), kDialogs);
  if (!dialogs) return;
  const GObjectPtr<JSCValue> done(jsc_value_function_call(dialogs.get(), G_TYPE_BOOLEAN, asks_about_itself,
                                                          G_TYPE_STRING, setup.mark.c_str(), G_TYPE_NONE));
  ReportException(page.get());
}

}  // namespace

// `mark`: the text the program looks for at the start of a dialog's words.
extern "C" G_MODULE_EXPORT void webkit_web_extension_initialize_with_user_data(WebKitWebExtension*,
                                                                             const GVariant* mark) {
  Setup& setup = TheSetup();
  setup.own_world = webkit_script_world_new_with_name("ludex");
  // Without one, no dialog the program sees is marked, and none is shown.
  auto* given = const_cast<GVariant*>(mark);
  if (given && g_variant_is_of_type(given, G_VARIANT_TYPE_STRING)) setup.mark = g_variant_get_string(given, nullptr);
  g_signal_connect(webkit_script_world_get_default(), "window-object-cleared", G_CALLBACK(OnWindowObjectCleared),
                   nullptr);
  Debug(DebugDomain::Web, "web process %d: dialogs of other sites' frames answered unseen", getpid());
}
