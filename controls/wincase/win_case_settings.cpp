// JyxWinCase's properties and the ten of them its host's property bag keeps.
// Reading a stored Bytopwin of True pops the case out while it is loaded,
// before MoveTo is read; BackColor, ArrayStyle, MinButton and EndButton each
// run a layout pass; the caption becomes the window text.
#include "controls/wincase/jyx_win_case.h"

namespace ludex {

namespace {

constexpr std::int32_t kDefaultArrayStyle = 4;
constexpr Color kDefaultBackColor = 0x00C0E0FF;

}  // namespace

// Interface order; the order numbers are the places in the bag.
const std::array<JyxWinCase::Property, 11> JyxWinCase::kProperties = {{
    Property::Stored<&JyxWinCase::ArrayStyle, &JyxWinCase::SetArrayStyle, &JyxWinCase::array_style_>(
        "ArrayStyle", 4, kDefaultArrayStyle, "背景色的渐变排列方式"),
    Property::Stored<&JyxWinCase::BackColor, &JyxWinCase::SetBackColor, &JyxWinCase::back_color_>(
        "BackColor", 2, kDefaultBackColor, "基础背景色 建议用浅一点的颜色否则可能形影到视觉外观"),
    Property::Stored<&JyxWinCase::CaptionColor, &JyxWinCase::SetCaptionColor>("CaptionColor", 3, 0, "标题字体的颜色"),
    Property::Stored<&JyxWinCase::Caption, &JyxWinCase::SetCaption>("Caption", 1, "Caption", "窗口标题名称"),
    Property::Stored<&JyxWinCase::Enabled, &JyxWinCase::SetEnabled>("Enabled", 0, true, "窗口是否可用"),
    Property::Shown("hwnd", ""),
    Property::Stored<&JyxWinCase::MinButton, &JyxWinCase::SetMinButton>("MinButton", 5, true, "窗口标题栏中是否含有最小化按钮"),
    Property::Stored<&JyxWinCase::EndButton, &JyxWinCase::SetEndButton>("EndButton", 6, true, "窗口标题栏中是否含有关闭按钮"),
    Property::Stored<&JyxWinCase::ChangeSize, &JyxWinCase::SetChangeSize, &JyxWinCase::change_size_>(
        "ChangeSize", 7, true, "窗口是否可以改变大小"),
    Property::Stored<&JyxWinCase::Bytopwin, &JyxWinCase::SetBytopwin, &JyxWinCase::bytopwin_>(
        "Bytopwin", 8, false,
        "作为窗口的父窗口的弹出式窗口，当属性为True时，本窗口的父窗口将处于不可操作状态，属性为False时，"
        "父窗口会自动激活(类似于Msgbox,注意使用前可以将窗口隐藏掉，控件会自动显示。)。"),
    Property::Stored<&JyxWinCase::MoveTo, &JyxWinCase::SetMoveTo, &JyxWinCase::move_to_>(
        "MoveTo", 9, true, "窗口是否可以被任意拖动"),
}};

// A new instance takes its starting values into the fields and nothing else:
// no set operation runs, so nothing is painted and the constituents keep
// their designer settings.
void JyxWinCase::UserControl_InitProperties() { skinned::InitProperties(*this, kProperties); }

void JyxWinCase::UserControl_ReadProperties(const PropertyBag& bag) { skinned::ReadProperties(*this, bag, kProperties); }

void JyxWinCase::UserControl_WriteProperties(PropertyBag& bag) { skinned::WriteProperties(*this, bag, kProperties); }

}  // namespace ludex
