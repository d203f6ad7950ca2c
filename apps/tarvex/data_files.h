#pragma once
// The files `tarvex init` writes from: the host schema and the demo invoice template. An
// installed tarvex reads them from its data folder (share/tarvex beside its bin/ folder), where
// an office may put its own invoice template; a tarvex run from the build tree, which has no
// data folder, uses the copies built into it (the same files the package installs).

#include <filesystem>
#include <optional>
#include <string>

namespace tarvex::cli {

// The file `name` in the first data folder that has it: $TARVEX_DATADIR when set, then
// <folder of the executable>/../share/tarvex. nullopt when neither has it.
std::optional<std::filesystem::path> dataFile(const std::string& name);

// The SQL that creates the host database's tables (schema.sql).
std::string hostSchemaSql();
// The bytes of the invoice template that `tarvex init` copies (rechnung.docx).
std::string invoiceTemplate();

}  // namespace tarvex::cli
