#include "platform/gtk/web/file_choosers.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/guarded.h"
#include "platform/gtk/web/asking_site.h"

namespace ludex::gtk {

namespace {

// What a chooser needs until the player answers it.
struct Choice {
  GObjectPtr<WebKitFileChooserRequest> request;
  GObjectPtr<GtkFileChooserNative> chooser;
  // Declared last, so that it goes first.
  SignalConnections connections;
};

gboolean Forget(gpointer) { return G_SOURCE_REMOVE; }

void Delete(gpointer choice) { delete static_cast<Choice*>(choice); }

void OnResponse(GtkNativeDialog* chooser, gint response, gpointer data) {
  auto* choice = static_cast<Choice*>(data);
  // The chooser is still giving its answer; it goes once that is over.
  g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, Forget, choice, Delete);
  Guarded([&] {
    if (response != GTK_RESPONSE_ACCEPT) {
      webkit_file_chooser_request_cancel(choice->request.get());
      return;
    }
    GSList* files = gtk_file_chooser_get_filenames(GTK_FILE_CHOOSER(chooser));
    std::vector<const gchar*> names;
    for (GSList* file = files; file; file = file->next) names.push_back(static_cast<const gchar*>(file->data));
    names.push_back(nullptr);
    webkit_file_chooser_request_select_files(choice->request.get(), names.data());
    g_slist_free_full(files, g_free);
  });
}

gboolean OnRunFileChooser(WebKitWebView* view, WebKitFileChooserRequest* request, gpointer) {
  return Guarded<gboolean>(FALSE, [&]() -> gboolean {
    const std::string title = "选择文件 — 来自 " + AskingSite(webkit_web_view_get_uri(view));
    GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(view));
    auto choice = std::make_unique<Choice>();
    choice->request = Ref(request);
    choice->chooser.reset(gtk_file_chooser_native_new(title.c_str(), GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr,
                                                      GTK_FILE_CHOOSER_ACTION_OPEN, "打开(_O)", "取消(_C)"));
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(choice->chooser.get());
    gtk_file_chooser_set_select_multiple(chooser, webkit_file_chooser_request_get_select_multiple(request));
    if (GtkFileFilter* filter = webkit_file_chooser_request_get_mime_types_filter(request)) {
      gtk_file_chooser_set_filter(chooser, filter);
    }
    gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(chooser), TRUE);
    GtkNativeDialog* dialog = GTK_NATIVE_DIALOG(chooser);
    choice->connections.Connect(dialog, "response", OnResponse, choice.get());
    gtk_native_dialog_show(dialog);
    // Until the player answers.
    choice.release();
    return TRUE;
  });
}

}  // namespace

void ChooseFilesNamingTheSite(WebKitWebView* view, SignalConnections& connections) {
  connections.Connect(view, "run-file-chooser", OnRunFileChooser, nullptr);
}

}  // namespace ludex::gtk
