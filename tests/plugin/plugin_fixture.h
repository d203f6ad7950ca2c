#pragma once
// A host database with one TempDoc record for user 5 and the plug-in's module-wide state
// reset, as every plug-in test starts.

#include "common/host_database.h"
#include "common/session_fixture.h"
#include "platform/dao/dao.h"

namespace tarvex::testing {

class PluginTest : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        file = usePlainSql ? plainDatabase(folder.path()) : schemaDatabase(folder.path());
        runSql(file, gültigerDatensatz);
        auto& s = sitzungsdaten();
        s.LumWorkspace = dao::makeSqliteWorkspace();
        s.DatenbankPfad = file.string();
        s.ID_Benutzer = 5;
    }

    RecordingWindowManager& fensterVerwaltung() {
        return static_cast<RecordingWindowManager&>(*plattform().windowManager);
    }

    bool usePlainSql = false;
    std::filesystem::path file;
};

}  // namespace tarvex::testing
