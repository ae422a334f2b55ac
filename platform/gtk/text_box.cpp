#include "platform/gtk/text_box.h"

#include "platform/gtk/guarded.h"

namespace ludex::gtk {

namespace {

// GTK's theme gives an entry a minimum height and padding for a far larger
// box; the form's text boxes are as small as 18 pixels. A text box's font is
// the Song face at 9 points, whose lines are short enough for that
// (the user-interface face's are not).
constexpr const char kEntryStyle[] =
    "entry { min-height: 0; padding: 0 2px; border-radius: 0;"
    " font-family: \"宋体\", \"AR PL UMing CN\"; font-size: 9pt; }";

// Types `code` in place of the key that was pressed, as an edit of the user's.
void TypeInstead(GtkEditable* editable, int code) {
  gchar utf8[6];
  const gint length = g_unichar_to_utf8(static_cast<gunichar>(code), utf8);
  gtk_editable_delete_selection(editable);
  gint position = gtk_editable_get_position(editable);
  gtk_editable_insert_text(editable, utf8, length, &position);
  gtk_editable_set_position(editable, position);
}

}  // namespace

int CharacterCode(const GdkEventKey& key) {
  switch (key.keyval) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter: return 13;
    case GDK_KEY_BackSpace: return 8;
    case GDK_KEY_Tab:
    case GDK_KEY_KP_Tab:
    case GDK_KEY_ISO_Left_Tab: return 9;
    case GDK_KEY_Escape: return 27;
    default: break;
  }
  if (key.state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) return 0;
  const gunichar c = gdk_keyval_to_unicode(key.keyval);
  return c >= 0x20 && c != 0x7F ? static_cast<int>(c) : 0;
}

TextBoxWindow::TextBoxWindow(Hwnd hwnd, NativeWindow& parent, PixelRect place, WindowSink* sink)
    : NativeWindow(hwnd, &parent, place, sink),
      box_(KeepWidget(gtk_event_box_new())),
      entry_(KeepWidget(gtk_entry_new())),
      style_(gtk_css_provider_new()) {
  gtk_css_provider_load_from_data(style_.get(), kEntryStyle, -1, nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(entry_.get()), GTK_STYLE_PROVIDER(style_.get()),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  // Without this the entry asks for room for a default number of characters.
  gtk_entry_set_width_chars(GTK_ENTRY(entry_.get()), 1);
  gtk_container_add(GTK_CONTAINER(box_.get()), entry_.get());
  gtk_widget_show(entry_.get());
  Site();
  ConnectSignals();
}

void TextBoxWindow::ConnectSignals() {
  connections_.Connect(entry_.get(), "key-press-event", OnKeyPressEvent, this);
}

void TextBoxWindow::SetText(const std::string& utf8) { gtk_entry_set_text(GTK_ENTRY(entry_.get()), utf8.c_str()); }

std::string TextBoxWindow::Text() const { return gtk_entry_get_text(GTK_ENTRY(entry_.get())); }

gboolean TextBoxWindow::OnKeyPressEvent(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* box = static_cast<TextBoxWindow*>(self);
  const int code = CharacterCode(*event);
  if (code == 0) return FALSE;
  // The sink may destroy this window; keep the entry to type the answer into.
  // A destroyed entry has been taken out of its box.
  GObjectPtr<GtkWidget> entry = Ref(box->entry_.get());
  return Guarded(FALSE, [&]() -> gboolean {
    const int answer = box->sink()->OnKeyPress(code);
    if (answer == code) return FALSE;  // the entry handles the key as usual
    if (answer >= 0x20 && gtk_widget_get_parent(entry.get())) TypeInstead(GTK_EDITABLE(entry.get()), answer);
    return TRUE;
  });
}

}  // namespace ludex::gtk
