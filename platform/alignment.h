// How a text lies across its box: a label's and a text box's setting, read
// from window definitions.
#pragma once

namespace ludex {

enum class Alignment { Left, Right, Center };

}  // namespace ludex
