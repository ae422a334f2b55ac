// What a drag-and-drop operation carries onto a control.
#pragma once

#include <string>
#include <vector>

namespace ludex {

struct DataObject {
  std::string text;
  std::vector<std::string> files;
};

}  // namespace ludex
