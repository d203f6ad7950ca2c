#pragma once
// The files a clerk opened last, newest first, kept in the per-user settings store under
// application "TARVEX-Host", section "Zuletzt", keys "<kind>1" to "<kind>5" ("Rechnung1",
// "Datenbank1", ...). Unused keys hold "".

#include <QString>
#include <QStringList>

#include "platform/settings/settings_store.h"

namespace tarvex::desktop {

class RecentFiles {
  public:
    static constexpr int kCount = 5;

    // `kind`: "Rechnung" or "Datenbank". The store must outlive this object.
    RecentFiles(SettingsStore& store, QString kind) : store_(store), kind_(std::move(kind)) {}

    // The stored paths, newest first; empty when none or the store cannot be read.
    QStringList paths() const;
    // Puts `path` (made absolute) first, dropping an older entry of it and the oldest beyond
    // kCount. A store that cannot be written is ignored: the list is a convenience.
    void add(const QString& path);

  private:
    SettingsStore& store_;
    QString kind_;
};

}  // namespace tarvex::desktop
