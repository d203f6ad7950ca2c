#pragma once
// Invoices and databases must be regular files: opening a FIFO blocks until a writer comes,
// reading a device never ends. These helpers look at a path without opening it, so such
// names are refused before anything can block.

#include <string>

namespace tarvex {

// What `mode` (st_mode) names in German with its article ("ein Ordner", "eine benannte Pipe
// (FIFO)"), or "" for a regular file.
std::string nonRegularKind(unsigned mode);

// "" when `path` is a regular file or does not exist (links are followed); otherwise the
// refusal "PATH ist keine gewöhnliche Datei, sondern KIND".
std::string notARegularFile(const std::string& path);

}  // namespace tarvex
