// The gallery window: the skinned frame around a row of skinned buttons and
// two window cases, one as it comes and one in other colours that floats out
// over the gallery as a modal panel and goes back in again.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/form.h"

namespace ludex {

class Gallery : public Form {
 public:
  Gallery();

 protected:
  void ConnectEvents() override;
  void Form_Unload(std::int16_t& cancel) override;

 private:
  void JyxButton1_Click();
  void JyxButton2_Click();
  void JyxButton3_Click();
  void JyxButton4_Click();
  void JyxButton5_Click();
  void JyxWinCase2_TitleEndbutton();
  void PutPanelBack();

  // Where the floating panel sat in the gallery before it went out, in twips.
  double panel_left_ = 0, panel_top_ = 0;
  std::size_t next_caption_ = 0;
  std::size_t next_colour_ = 0;
};

}  // namespace ludex
