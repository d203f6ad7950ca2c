#include "data_files.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "demo_invoice.h"
#include "host_schema.h"  // generated from schema.sql: kHostSchemaSql

namespace tarvex::cli {

namespace {

std::optional<std::filesystem::path> installedDataFolder() {
    std::error_code ec;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::nullopt;
    return program.parent_path().parent_path() / "share" / "tarvex";
}

std::optional<std::string> readDataFile(const std::string& name) {
    const auto file = dataFile(name);
    if (!file) return std::nullopt;
    std::ifstream in(*file, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof())
        throw std::runtime_error("Datei kann nicht gelesen werden: " + file->string());
    return bytes;
}

}  // namespace

std::optional<std::filesystem::path> dataFile(const std::string& name) {
    std::optional<std::filesystem::path> folders[2];
    if (const char* env = std::getenv("TARVEX_DATADIR"); env && *env) folders[0] = env;
    folders[1] = installedDataFolder();
    for (const auto& folder : folders) {
        std::error_code ec;
        if (folder && std::filesystem::is_regular_file(*folder / name, ec)) return *folder / name;
    }
    return std::nullopt;
}

std::string hostSchemaSql() { return readDataFile("schema.sql").value_or(kHostSchemaSql); }

std::string invoiceTemplate() {
    if (auto bytes = readDataFile("rechnung.docx")) return *bytes;
    return demoInvoiceDocx();
}

}  // namespace tarvex::cli
