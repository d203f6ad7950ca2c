#pragma once
// The plug-in's module-wide state reset before and after each test, a temporary folder and a
// captured log: where every test of the plug-in's procedures starts.

#include <gtest/gtest.h>

#include "common/test_files.h"
#include "plugin/session/auftragskontext.h"
#include "plugin/session/plattform.h"
#include "plugin/session/sitzungsdaten.h"
#include "plugin/session/window_slots.h"
#include "support/debug_log.h"

namespace tarvex::testing {

class SessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sitzungsdaten().reset();
        auftragskontext().reset();
        plattform().reset();
        resetWindowSlots();
    }
    void TearDown() override {
        resetWindowSlots();
        sitzungsdaten().reset();
    }

    TempFolder folder;
    ScopedLogCapture log;
};

}  // namespace tarvex::testing
