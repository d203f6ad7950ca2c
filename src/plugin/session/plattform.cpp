#include "plugin/session/plattform.h"

#include "plugin/session/auftragskontext.h"
#include "plugin/session/sitzungsdaten.h"

namespace tarvex {

void Plattform::reset() {
    windowManager = std::make_shared<RecordingWindowManager>();
    settings = makeMemorySettingsStore();
    clock = clockFromEnvironment();
}

Plattform& plattform() {
    static Plattform bundle = [] {
        Plattform p;
        p.reset();
        return p;
    }();
    return bundle;
}

Sitzungsdaten& sitzungsdaten() {
    static Sitzungsdaten daten;
    return daten;
}

}  // namespace tarvex
