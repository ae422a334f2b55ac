// Loaded by WebKit into every web process. The engine tells the program of a
// page's alert(), confirm(), prompt() or print() without saying which frame
// asked, and the program names the main page's site on the window it shows;
// an advertising frame of another site could ask for the player's password
// under the game's name. So a window of another origin than its main page
// (its nested frames and fresh "about:blank" frames with it, which share its
// origin) gets dialogs that are answered as cancelled and that it cannot
// undo, before any of its own scripts runs. Every other window gets dialogs
// bound to itself: the engine would otherwise show a dialog for whichever
// window a page passes as "this", and a frame could borrow the untouched
// alert() of a window of its own site (a pop-up it opened) and call it on
// itself.

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

// Run in the page's world; `own` says whether the window may show dialogs.
// A window already done (the engine keeps a window for the first page of its
// origin after "about:blank") is left as it is.
constexpr const char* kDialogs = R"((own) => {
  const unseen = { alert: undefined, confirm: false, prompt: null, print: undefined };
  for (const name of Object.keys(unseen)) {
    const answer = unseen[name];
    const now = Object.getOwnPropertyDescriptor(globalThis, name);
    if (!now || !now.configurable) continue;
    Object.defineProperty(globalThis, name, {
      value: own ? now.value.bind(globalThis) : function () { return answer; },
      writable: own, enumerable: true, configurable: false,
    });
  }
})";

GObjectPtr<JSCValue> Evaluate(JSCContext* context, const std::string& script) {
  GObjectPtr<JSCValue> value(jsc_context_evaluate(context, script.c_str(), -1));
  if (JSCException* exception = jsc_context_get_exception(context)) {
    Debug(DebugDomain::Web, "web process: %s", jsc_exception_get_message(exception));
    jsc_context_clear_exception(context);
  }
  return value;
}

void OnWindowObjectCleared(WebKitScriptWorld* page_world, WebKitWebPage*, WebKitFrame* frame, gpointer own_world) {
  const GObjectPtr<JSCContext> own(
      webkit_frame_get_js_context_for_script_world(frame, static_cast<WebKitScriptWorld*>(own_world)));
  const GObjectPtr<JSCValue> same = Evaluate(own.get(), kSameOriginAsMainPage);
  const bool speaks_for_itself = same && jsc_value_to_boolean(same.get());
  if (!speaks_for_itself) {
    Debug(DebugDomain::Web, "web process: no dialogs for a frame of another site (%s)", webkit_frame_get_uri(frame));
  }
  const GObjectPtr<JSCContext> page(webkit_frame_get_js_context_for_script_world(frame, page_world));
  Evaluate(page.get(), std::string("(") + kDialogs + ")(" + (speaks_for_itself ? "true" : "false") + ")");
}

}  // namespace

extern "C" G_MODULE_EXPORT void webkit_web_extension_initialize(WebKitWebExtension*) {
  // Held for the life of the process, as the handler is.
  WebKitScriptWorld* own_world = webkit_script_world_new_with_name("ludex");
  g_signal_connect(webkit_script_world_get_default(), "window-object-cleared", G_CALLBACK(OnWindowObjectCleared),
                   own_world);
  Debug(DebugDomain::Web, "web process %d: dialogs of other sites' frames answered unseen", getpid());
}
