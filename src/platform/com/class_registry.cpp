#include "platform/com/class_registry.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

namespace tarvex::com {

namespace {

using Json = nlohmann::json;

Json readRegistry() {
    std::ifstream in(classRegistryPath());
    if (!in) return Json::object();
    // A damaged file is treated as empty rather than blocking every host.
    Json doc = Json::parse(in, nullptr, false);
    if (doc.is_discarded() || !doc.is_object() || !doc.contains("classes") ||
        !doc["classes"].is_object())
        return Json::object();
    return doc;
}

void writeRegistry(const Json& doc) {
    const auto path = classRegistryPath();
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    // Written beside the old file and renamed over it, so a failed write keeps the old one.
    const auto temporary = path.string() + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << doc.dump(2) << '\n';
        out.flush();
        if (!out) {
            std::filesystem::remove(temporary, ec);
            throw Error(errc::fileError);
        }
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        throw Error(errc::fileError);
    }
}

// Classes registered for this process only, ahead of the file.
std::map<std::string, std::string>& processClasses() {
    static std::map<std::string, std::string> classes;
    return classes;
}

// The stored key that names the class, caselessly.
std::optional<std::string> keyOf(const Json& classes, const std::string& className) {
    for (const auto& [key, value] : classes.items())
        if (sameName(key, className)) return key;
    return std::nullopt;
}

Error cannotCreate(const std::string& reason) {
    return Error(comerr::cannotCreate,
                 "Objekterstellung durch Komponente nicht möglich: " + reason);
}

}  // namespace

std::filesystem::path classRegistryPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (config && *config) {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home && *home ? home : "/tmp") / ".config";
    }
    return base / "tarvex" / "classes.json";
}

void registerClass(const std::string& className, const std::string& libraryPath) {
    Json doc = readRegistry();
    if (!doc.contains("classes")) doc["classes"] = Json::object();
    if (auto key = keyOf(doc["classes"], className)) {
        // Already recorded as asked: the file is left as it is.
        const Json& entry = doc["classes"][*key];
        if (*key == className && entry == Json{{"library", libraryPath}}) return;
        doc["classes"].erase(*key);
    }
    doc["classes"][className] = {{"library", libraryPath}};
    writeRegistry(doc);
}

void unregisterClass(const std::string& className) {
    Json doc = readRegistry();
    if (!doc.contains("classes")) return;
    auto key = keyOf(doc["classes"], className);
    if (!key) return;
    doc["classes"].erase(*key);
    writeRegistry(doc);
}

void registerClassForProcess(const std::string& className, const std::string& libraryPath) {
    processClasses()[className] = libraryPath;
}

std::optional<std::string> registeredLibrary(const std::string& className) {
    for (const auto& [name, library] : processClasses())
        if (sameName(name, className)) return library;
    const Json doc = readRegistry();
    if (!doc.contains("classes")) return std::nullopt;
    auto key = keyOf(doc["classes"], className);
    if (!key) return std::nullopt;
    const Json& entry = doc["classes"][*key];
    if (!entry.is_object() || !entry.contains("library") || !entry["library"].is_string())
        return std::nullopt;
    return entry["library"].get<std::string>();
}

std::shared_ptr<Dispatch> createObject(const std::string& className) {
    const auto library = registeredLibrary(className);
    if (!library) throw cannotCreate("Klasse " + className + " ist nicht registriert");
    // Never closed: objects and windows of the library may outlive any one caller.
    void* handle = dlopen(library->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) throw cannotCreate(dlerror());
    using Factory = int (*)(const char*, void**);
    auto factory = reinterpret_cast<Factory>(dlsym(handle, classObjectSymbol));
    if (!factory) throw cannotCreate(std::string(classObjectSymbol) + " fehlt in " + *library);
    void* raw = nullptr;
    const int rc = factory(className.c_str(), &raw);
    if (rc != 0 || !raw) throw cannotCreate("Fehler " + std::to_string(rc) + " der Klassenfabrik");
    std::unique_ptr<std::shared_ptr<Dispatch>> holder(static_cast<std::shared_ptr<Dispatch>*>(raw));
    return *holder;
}

}  // namespace tarvex::com
