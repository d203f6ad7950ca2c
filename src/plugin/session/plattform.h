#pragma once
// The platform objects the plug-in's windows and procedures use besides the host's database
// and document: window manager, settings store and clock. Hosts replace the defaults before
// the first Show; tests reset them.

#include <memory>

#include "platform/settings/settings_store.h"
#include "platform/system/clock.h"
#include "platform/system/window_manager.h"

namespace tarvex {

struct Plattform {
    std::shared_ptr<WindowManager> windowManager;
    std::shared_ptr<SettingsStore> settings;
    std::shared_ptr<Clock> clock;

    // Defaults: a recording window manager, an in-memory settings store, and the system clock
    // with $TARVEX_HEUTE as today's date when set.
    void reset();
};

// The one bundle, set to the defaults on first use.
Plattform& plattform();

}  // namespace tarvex
