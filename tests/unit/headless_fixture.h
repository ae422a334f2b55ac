// A fresh headless back end for every test, with the program's controls and
// resources known.
#pragma once

#include <gtest/gtest.h>

#include "app/resources.h"
#include "controls/register_controls.h"
#include "platform/headless/headless_backend.h"

namespace ludex {

class HeadlessTest : public ::testing::Test {
 protected:
  HeadlessTest() : backend(HeadlessBackend::InstallNew()) {
    RegisterAppResources();
    RegisterControls();
  }
  HeadlessBackend& backend;
};

}  // namespace ludex
