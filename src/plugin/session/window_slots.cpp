#include "plugin/session/window_slots.h"

#include <array>

#include "platform/error/error.h"
#include "plugin/session/plattform.h"
#include "plugin/session/sitzungsdaten.h"

namespace tarvex {

namespace {

// Multiple-document child (0x40) plus raised edge (0x100).
constexpr std::int32_t mdiChildStyle = 0x140;

struct Slots {
    std::array<WindowSlotFactory, 5> factories;
    std::array<std::unique_ptr<WindowSlot>, 5> instances;
};

Slots& slots() {
    static Slots all;
    return all;
}

void checkIndex(int index) {
    if (index < 0 || index > 4) throw Error(errc::invalidCall);
}

}  // namespace

std::string windowCaption(int index) {
    switch (index) {
        case 0:
            return "Grenzfeststellung nach Nr. 30.6";
        case 1:
            return "Gebäudeaufnahme nach Nr. 30.4";
        case 2:
            return "Lang gestreckte Anlagen nach Nr. 30.3";
        case 3:
            return "Baulandumlegung nach Nr. 30.2";
        case 4:
            return "Zerlegung nach Nr. 30.1";
        default:
            return "";
    }
}

void registerWindowFactory(int index, WindowSlotFactory factory) {
    checkIndex(index);
    slots().factories[static_cast<std::size_t>(index)] = std::move(factory);
}

WindowSlot& windowSlot(int index) {
    checkIndex(index);
    const auto i = static_cast<std::size_t>(index);
    auto& instance = slots().instances[i];
    if (!instance) {
        const auto& factory = slots().factories[i];
        instance = factory ? factory() : std::make_unique<PlaceholderWindow>(windowCaption(index));
        if (!instance) throw Error(errc::objectNotSet);
    }
    return *instance;
}

bool anyWindowAlive() {
    for (const auto& instance : slots().instances)
        if (instance && instance->isAlive()) return true;
    return false;
}

void resetWindowSlots() { slots() = Slots{}; }

WindowHandle newWindowHandle() {
    static WindowHandle next = 0x1000;
    return next += 4;
}

PlaceholderWindow::PlaceholderWindow(std::string caption)
    : caption_(std::move(caption)), handle_(newWindowHandle()) {}

void PlaceholderWindow::loadAndShow() {
    ++loads_;
    loaded_ = true;
    if (!plattform().windowManager) throw Error(errc::objectNotSet);
    auto& manager = *plattform().windowManager;
    manager.setParent(handle_, sitzungsdaten().hWndMDI);
    manager.setExtendedStyle(handle_, mdiChildStyle);
    visible_ = true;
}

}  // namespace tarvex
