#pragma once
// The per-user class registry: class names ("TARVEX.GO") mapped to the shared library that
// creates them, kept in $XDG_CONFIG_HOME/tarvex/classes.json ($HOME/.config when unset).
// A host creates an object by class name: the library is loaded and its class factory called.
//
// A component library exports these C functions (0 means success, else an error number); for
// libtarvex.so they are declared for outside hosts in include/tarvex/tarvex.h:
//   int tarvex_register_server(void);      records the library's classes in the registry
//   int tarvex_unregister_server(void);    removes them
//   int tarvex_get_class_object(const char* className, void** object);
//       *object receives a `new std::shared_ptr<tarvex::com::Dispatch>`; the caller owns it.
//       Host and library must be built with the same compiler and standard library.
//   int tarvex_release_object(void* object);  gives such an object back (hosts in C)
//   int tarvex_can_unload_now(void);       1 when no object or window of the library lives

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/com/dispatch.h"

namespace tarvex::com {

inline constexpr const char* registerSymbol = "tarvex_register_server";
inline constexpr const char* unregisterSymbol = "tarvex_unregister_server";
inline constexpr const char* classObjectSymbol = "tarvex_get_class_object";
inline constexpr const char* canUnloadSymbol = "tarvex_can_unload_now";

// The registry file of the current user.
std::filesystem::path classRegistryPath();
// Records `className` -> `libraryPath`, replacing an earlier entry (class names compare
// caselessly). The file is replaced atomically, and left untouched when it already holds
// exactly this entry. Error 75 when it cannot be written.
void registerClass(const std::string& className, const std::string& libraryPath);
// Records the class for this process only, ahead of the file (for a host whose registry
// file cannot be written). Never raises.
void registerClassForProcess(const std::string& className, const std::string& libraryPath);
// Removes the entry if there is one. Error 75 when the file cannot be written.
void unregisterClass(const std::string& className);
// The library registered for the class, or nullopt. A missing or unreadable file counts as
// empty.
std::optional<std::string> registeredLibrary(const std::string& className);
// Creates an object of a registered class. Error 429 (with the reason) when the class is not
// registered, the library cannot be loaded, or its factory fails. The library stays loaded.
std::shared_ptr<Dispatch> createObject(const std::string& className);

}  // namespace tarvex::com
