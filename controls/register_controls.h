// Makes the skinned controls known to window definitions by their kind names.
#pragma once

namespace ludex {

void RegisterControls();

}  // namespace ludex
