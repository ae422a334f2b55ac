#include "gallery/gallery_form.h"

#include <array>
#include <string_view>

#include "controls/button/jyx_button.h"
#include "controls/wincase/jyx_win_case.h"
#include "platform/environment.h"

namespace ludex {

namespace {

constexpr std::string_view kGreetingCaption = "星澜控件展示-你好";
// What the first case's caption and colour step through, starting after its own.
constexpr std::array<std::string_view, 3> kCaseCaptions = {"窗口面板", "换了标题", "Caption"};
constexpr std::array<Color, 4> kCaseColours = {0x00C0FFC0, 0x00FFE0C0, 0x00E0C0FF, 0x00C0E0FF};

}  // namespace

Gallery::Gallery() : Form("gallery.json") {}

void Gallery::ConnectEvents() {
  Get<JyxButton>("JyxButton1").Click = [this] { JyxButton1_Click(); };
  Get<JyxButton>("JyxButton2").Click = [this] { JyxButton2_Click(); };
  Get<JyxButton>("JyxButton3").Click = [this] { JyxButton3_Click(); };
  Get<JyxButton>("JyxButton4").Click = [this] { JyxButton4_Click(); };
  Get<JyxButton>("JyxButton5").Click = [this] { JyxButton5_Click(); };
  Get<JyxWinCase>("JyxWinCase2").TitleEndbutton = [this] { JyxWinCase2_TitleEndbutton(); };
}

void Gallery::Form_Unload(std::int16_t&) { EndProgram(); }

// Out over the gallery, which takes no input until the panel is back.
void Gallery::JyxButton1_Click() {
  JyxWinCase& panel = Get<JyxWinCase>("JyxWinCase2");
  panel_left_ = panel.Left();
  panel_top_ = panel.Top();
  panel.SetBytopwin(true);
}

void Gallery::JyxButton2_Click() { SetCaption(std::string(kGreetingCaption)); }

void Gallery::JyxButton3_Click() {
  Get<JyxWinCase>("JyxWinCase1").SetCaption(std::string(kCaseCaptions[next_caption_]));
  next_caption_ = (next_caption_ + 1) % kCaseCaptions.size();
}

void Gallery::JyxButton4_Click() {
  Get<JyxWinCase>("JyxWinCase1").SetBackColor(kCaseColours[next_colour_]);
  next_colour_ = (next_colour_ + 1) % kCaseColours.size();
}

// The button on the floating panel itself: the gallery is disabled meanwhile.
void Gallery::JyxButton5_Click() { PutPanelBack(); }

// A floating panel's close glyph puts it back too.
void Gallery::JyxWinCase2_TitleEndbutton() { PutPanelBack(); }

// Going in hides the panel; the gallery shows it again where it was. A panel
// in its place stays as it is.
void Gallery::PutPanelBack() {
  JyxWinCase& panel = Get<JyxWinCase>("JyxWinCase2");
  if (!panel.Bytopwin()) return;
  panel.SetBytopwin(false);
  panel.Move(panel_left_, panel_top_);
  panel.SetVisible(true);
}

}  // namespace ludex
