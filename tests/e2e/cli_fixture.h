#pragma once
// Each end-to-end test gets a fresh folder with its own configuration home and temporary
// folder (where the class registry and Lumo.log end up), runs the built tarvex there and
// inspects the results the way a user could: the dump of the invoice, the printed window
// state and the host database read with SQLite.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli_process.h"
#include "common/host_database.h"

namespace tarvex::e2e {

using nlohmann::json;
namespace fs = std::filesystem;
using testing::copyTemplate;
using testing::queryText;
using testing::readFile;
using testing::schemaDatabase;

class TarvexCli : public ::testing::Test {
  protected:
    TarvexCli();

    // Runs tarvex with `args` and waits for it.
    CliResult tarvex(const std::vector<std::string>& args);
    // Starts tarvex without waiting (standard input stays open until wait()).
    std::unique_ptr<CliProcess> start(const std::vector<std::string>& args);

    // `tarvex init` into dir()/name; returns that folder.
    fs::path initDemo(const std::string& name = "demo");
    // `tarvex dump FILE --json`, parsed; fails the test when the dump fails.
    json dump(const fs::path& document);
    // The names in a folder, sorted: shows stray temporary or journal files.
    static std::vector<std::string> listing(const fs::path& folder);
    // Every line of `out` that is a JSON object (the `print` lines).
    static std::vector<json> printed(const std::string& out);
    // Lumo.log of this test's runs, "" when nothing was logged.
    std::string lumoLog() const;

    const fs::path& dir() const { return dir_; }
    // An environment variable for every later run of tarvex in this test.
    void setEnv(const std::string& name, const std::string& value) { env_[name] = value; }

  private:
    testing::TempFolder root_;
    fs::path dir_ = root_.path() / "work";
    std::map<std::string, std::string> env_{{"XDG_CONFIG_HOME", (root_.path() / "config").string()},
                                            {"TMPDIR", (root_.path() / "tmp").string()}};
};

// Helpers over the JSON dump of a document.
std::string trim(const std::string& text);
// The text of cell (row, column), 0-based, trimmed.
std::string cell(const json& table, std::size_t row, std::size_t column);
// The tables whose cells carry a comment with exactly `tag`, in document order.
std::vector<json> tablesTagged(const json& dump, const std::string& tag);
// The position of the first table tagged `tag` among all tables, -1 if none.
int tableIndex(const json& dump, const std::string& tag);
// The row of `table` whose column `column` reads `text`, or nullptr.
const json* rowWith(const json& table, std::size_t column, const std::string& text);
// The trimmed texts after every comment named `marker` outside tables.
std::vector<std::string> textsAfter(const json& dump, const std::string& marker);
// The text box named `name`, or an empty object.
json shape(const json& dump, const std::string& name);

// "-1.234,56 €" → -123456.
long long cents(const std::string& amount);
// -123456 → "-1.234,56".
std::string euro(long long cents);
// Net, 19 % VAT (half a cent rounded up) and gross of `net` cents in the totals table (the gross
// in bold) and after every amount marker; no expenses.
void expectTotals(const json& dump, long long net);

}  // namespace tarvex::e2e
