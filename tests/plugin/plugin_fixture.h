#pragma once
// A host database with one TempDoc record for user 5 and the plug-in's module-wide state
// reset, as every plug-in test starts.

#include <gtest/gtest.h>

#include "common/host_database.h"
#include "platform/dao/dao.h"
#include "plugin/session/auftragskontext.h"
#include "plugin/session/plattform.h"
#include "plugin/session/sitzungsdaten.h"
#include "plugin/session/window_slots.h"
#include "support/debug_log.h"

namespace tarvex::testing {

class PluginTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sitzungsdaten().reset();
        auftragskontext().reset();
        plattform().reset();
        resetWindowSlots();
        file = usePlainSql ? plainDatabase(folder.path()) : schemaDatabase(folder.path());
        runSql(file, gültigerDatensatz);
        auto& s = sitzungsdaten();
        s.LumWorkspace = dao::makeSqliteWorkspace();
        s.DatenbankPfad = file.string();
        s.ID_Benutzer = 5;
    }
    void TearDown() override { resetWindowSlots(); }

    RecordingWindowManager& fensterVerwaltung() {
        return static_cast<RecordingWindowManager&>(*plattform().windowManager);
    }

    bool usePlainSql = false;
    TempFolder folder;
    std::filesystem::path file;
    ScopedLogCapture log;
};

}  // namespace tarvex::testing
