// The C entry points of libtarvex.so, declared for hosts in include/tarvex/tarvex.h (see
// platform/com/class_registry.h for how the hosts of this project use them).
#include "tarvex/tarvex.h"

#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <new>

#include "calculators/registrierung.h"
#include "platform/com/class_registry.h"
#include "plugin/go.h"
#include "plugin/session/window_slots.h"

namespace {

constexpr const char* klassenName = "TARVEX.GO";

// Runs `body`, turning any failure into its error number (0 on success).
template <class F>
int guarded(F&& body) noexcept {
    try {
        body();
        return 0;
    } catch (const tarvex::Error& e) {
        return e.number();
    } catch (const std::bad_alloc&) {
        return 7;
    } catch (...) {
        return tarvex::errc::invalidCall;
    }
}

// The path this library was loaded from. The folder is made absolute but the file name is kept
// as the loader found it (the SONAME link libtarvex.so.1), so that the registry entry still
// holds after a package update replaces the versioned file behind the link.
std::string eigenerPfad() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&eigenerPfad), &info) == 0 || !info.dli_fname)
        throw tarvex::Error(tarvex::errc::fileError);
    // The loader reports the name it was given, which may be relative to the host's folder.
    std::error_code ec;
    const std::filesystem::path geladen = std::filesystem::absolute(info.dli_fname, ec);
    if (ec) throw tarvex::Error(tarvex::errc::fileError);
    const auto ordner = std::filesystem::canonical(geladen.parent_path(), ec);
    if (ec) throw tarvex::Error(tarvex::errc::fileError);
    return (ordner / geladen.filename()).string();
}

}  // namespace

int tarvex_register_server(void) {
    return guarded([] { tarvex::com::registerClass(klassenName, eigenerPfad()); });
}

int tarvex_unregister_server(void) {
    return guarded([] { tarvex::com::unregisterClass(klassenName); });
}

int tarvex_get_class_object(const char* className, void** object) {
    if (!object) return tarvex::errc::invalidCall;
    *object = nullptr;
    if (!className || !tarvex::com::sameName(className, klassenName))
        return tarvex::com::comerr::cannotCreate;
    return guarded([&] {
        // The calculator windows take their slots when a host first creates GO.
        static std::once_flag kalkulatorenAngemeldet;
        std::call_once(kalkulatorenAngemeldet, [] { tarvex::registriereKalkulatoren(); });
        *object = new std::shared_ptr<tarvex::com::Dispatch>(std::make_shared<tarvex::GO>());
    });
}

int tarvex_release_object(void* object) {
    delete static_cast<std::shared_ptr<tarvex::com::Dispatch>*>(object);
    return 0;
}

int tarvex_can_unload_now(void) {
    return tarvex::GO::liveObjects() == 0 && !tarvex::anyWindowAlive() ? 1 : 0;
}
