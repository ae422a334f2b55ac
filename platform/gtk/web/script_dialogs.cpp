#include "platform/gtk/web/script_dialogs.h"

#include <string>

#include "platform/glib_ptr.h"
#include "platform/gtk/guarded.h"
#include "platform/gtk/web/asking_site.h"
#include "platform/gtk/web/web_context.h"

namespace ludex::gtk {

namespace {

constexpr const char* kTitle = "网页消息";
constexpr const char* kLeaveQuestion = "要离开此页吗？您在此页输入的内容可能不会保存。";
// A page may pass megabytes; the window shows the start.
constexpr long kLongestMessage = 500;

// At most `limit` characters of `text`, with "…" when cut.
std::string Shortened(const char* text, long limit) {
  if (!text) return {};
  if (g_utf8_strlen(text, -1) <= limit) return text;
  return TakeText(g_utf8_substring(text, 0, limit)) + "…";
}

// What the dialog says, without the program's mark; nullptr for a dialog
// not marked, whose window the program cannot name.
const char* Words(WebKitScriptDialog* dialog) {
  if (webkit_script_dialog_get_dialog_type(dialog) == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM) return "";
  const char* message = webkit_script_dialog_get_message(dialog);
  if (!message || !g_str_has_prefix(message, DialogMark().c_str())) return nullptr;
  return message + DialogMark().size();
}

bool AsksYesOrNo(WebKitScriptDialogType type) {
  return type == WEBKIT_SCRIPT_DIALOG_CONFIRM || type == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM;
}

// The answer when the player never saw the dialog: false for confirm(),
// null for prompt(), and for "leave this page?" leaving, so that a page
// cannot keep the player on it.
void AnswerUnseen(WebKitScriptDialog* dialog) {
  const WebKitScriptDialogType type = webkit_script_dialog_get_dialog_type(dialog);
  if (AsksYesOrNo(type)) {
    webkit_script_dialog_confirm_set_confirmed(dialog, type == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM);
  }
}

// A message without spaces would otherwise make the window as wide as the message.
void WrapAnywhere(GtkMessageDialog* window) {
  GList* children = gtk_container_get_children(GTK_CONTAINER(gtk_message_dialog_get_message_area(window)));
  for (GList* child = children; child; child = child->next) {
    if (GTK_IS_LABEL(child->data)) gtk_label_set_line_wrap_mode(GTK_LABEL(child->data), PANGO_WRAP_WORD_CHAR);
  }
  g_list_free(children);
}

}  // namespace

ScriptDialogs::ScriptDialogs(WebKitWebView* view) : view_(view) {
  connections_.Connect(view, "script-dialog", OnScriptDialog, this);
  connections_.Connect(view, "notify::uri", OnUriChanged, this);
  connections_.Connect(view, "load-changed", OnLoadChanged, this);
}

ScriptDialogs::~ScriptDialogs() { Dismiss(); }

gboolean ScriptDialogs::OnScriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer self) {
  auto* dialogs = static_cast<ScriptDialogs*>(self);
  return Guarded(FALSE, [&]() -> gboolean {
    if (dialogs->open_ || dialogs->leaving_ || dialogs->shown_on_page_ >= kShownPerPage || !Words(dialog)) {
      AnswerUnseen(dialog);
    } else {
      dialogs->Show(dialog);
    }
    return TRUE;
  });
}

void ScriptDialogs::Show(WebKitScriptDialog* dialog) {
  const WebKitScriptDialogType type = webkit_script_dialog_get_dialog_type(dialog);
  GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(view_));
  GtkWindow* parent = GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr;
  const std::string message = type == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM
                                  ? kLeaveQuestion
                                  : Shortened(Words(dialog), kLongestMessage);
  window_ = KeepWidget(gtk_message_dialog_new(parent, GtkDialogFlags(0),
                                              type == WEBKIT_SCRIPT_DIALOG_ALERT ? GTK_MESSAGE_INFO
                                                                                 : GTK_MESSAGE_QUESTION,
                                              GTK_BUTTONS_NONE, "%s", message.c_str()));
  GtkDialog* window = GTK_DIALOG(window_.get());
  // Whose words these are, so that no page's prompt("请输入QQ密码") passes as the program asking. Frames
  // of another site never come here: the web processes' extension answers theirs unseen, and marks the
  // words of the windows that ask about themselves.
  const std::string host = AskingSite(webkit_web_view_get_uri(view_));
  gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(window), "以上内容来自网页 %s，不是本程序的消息。",
                                           host.c_str());
  WrapAnywhere(GTK_MESSAGE_DIALOG(window));
  gtk_window_set_title(GTK_WINDOW(window), (std::string(kTitle) + " — 来自 " + host).c_str());
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER_ON_PARENT);
  if (type == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM) {
    gtk_dialog_add_button(window, "留在此页", GTK_RESPONSE_CANCEL);
    gtk_dialog_add_button(window, "离开此页", GTK_RESPONSE_OK);
  } else {
    if (type != WEBKIT_SCRIPT_DIALOG_ALERT) gtk_dialog_add_button(window, "取消", GTK_RESPONSE_CANCEL);
    gtk_dialog_add_button(window, "确定", GTK_RESPONSE_OK);
  }
  gtk_dialog_set_default_response(window, GTK_RESPONSE_OK);
  if (type == WEBKIT_SCRIPT_DIALOG_PROMPT) {
    entry_ = gtk_entry_new();
    const char* suggested = webkit_script_dialog_prompt_get_default_text(dialog);
    gtk_entry_set_text(GTK_ENTRY(entry_), suggested ? suggested : "");
    gtk_entry_set_activates_default(GTK_ENTRY(entry_), TRUE);
    gtk_box_pack_start(GTK_BOX(gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(window))), entry_, FALSE,
                       FALSE, 0);
    gtk_widget_show(entry_);
  }
  window_connections_ = std::make_unique<SignalConnections>();
  window_connections_->Connect(window, "response", OnResponse, this);
  open_.reset(webkit_script_dialog_ref(dialog));
  ++shown_on_page_;
  gtk_widget_show(GTK_WIDGET(window));
}

void ScriptDialogs::Finish(bool accepted) {
  if (!open_) return;
  WebKitScriptDialog* dialog = open_.get();
  const WebKitScriptDialogType type = webkit_script_dialog_get_dialog_type(dialog);
  if (AsksYesOrNo(type)) webkit_script_dialog_confirm_set_confirmed(dialog, accepted);
  if (type == WEBKIT_SCRIPT_DIALOG_PROMPT && accepted && entry_) {
    webkit_script_dialog_prompt_set_text(dialog, gtk_entry_get_text(GTK_ENTRY(entry_)));
  }
  Close();
}

void ScriptDialogs::Dismiss() {
  if (!open_) return;
  AnswerUnseen(open_.get());
  Close();
}

void ScriptDialogs::Close() {
  const DialogPtr dialog = std::move(open_);
  entry_ = nullptr;
  window_connections_.reset();
  window_.reset();
  // The page goes on from here, and may open its next dialog at once.
  webkit_script_dialog_close(dialog.get());
}

void ScriptDialogs::OnResponse(GtkDialog*, gint response, gpointer self) {
  Guarded([&] { static_cast<ScriptDialogs*>(self)->Finish(response == GTK_RESPONSE_OK); });
}

void ScriptDialogs::OnUriChanged(WebKitWebView*, GParamSpec*, gpointer self) {
  auto* dialogs = static_cast<ScriptDialogs*>(self);
  // A page waiting on its dialog changes no address: the program is sending the view elsewhere.
  if (!dialogs->open_) return;
  Guarded([&] {
    dialogs->leaving_ = true;
    dialogs->Dismiss();
  });
}

void ScriptDialogs::OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
  if (event != WEBKIT_LOAD_COMMITTED) return;
  auto* dialogs = static_cast<ScriptDialogs*>(self);
  Guarded([&] {
    dialogs->Dismiss();
    dialogs->leaving_ = false;
    dialogs->shown_on_page_ = 0;
  });
}

}  // namespace ludex::gtk
