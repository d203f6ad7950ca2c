#include "cli_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace tarvex::e2e {

TarvexCli::TarvexCli() {
    for (const char* sub : {"work", "config", "tmp", "runs"})
        fs::create_directories(root_.path() / sub);
}

std::unique_ptr<CliProcess> TarvexCli::start(const std::vector<std::string>& args) {
    return std::make_unique<CliProcess>(TARVEX_CLI, args, env_, root_.path() / "runs");
}

CliResult TarvexCli::tarvex(const std::vector<std::string>& args) { return start(args)->wait(); }

fs::path TarvexCli::initDemo(const std::string& name) {
    const CliResult r = tarvex({"init", (dir_ / name).string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return dir_ / name;
}

json TarvexCli::dump(const fs::path& document) {
    const CliResult r = tarvex({"dump", document.string(), "--json"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.exitCode == 0 ? json::parse(r.out) : json::object();
}

std::vector<std::string> TarvexCli::listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<json> TarvexCli::printed(const std::string& out) {
    std::vector<json> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.starts_with("{")) lines.push_back(json::parse(line));
    return lines;
}

std::string TarvexCli::lumoLog() const { return readFile(root_.path() / "tmp" / "Lumo.log"); }

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \r\a");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \r\a") - first + 1);
}

std::string cell(const json& table, std::size_t row, std::size_t column) {
    return trim(table.at("rows").at(row).at(column).at("text").get<std::string>());
}

namespace {

bool tagged(const json& table, const std::string& tag) {
    for (const auto& row : table["rows"])
        for (const auto& c : row)
            for (const auto& comment : c["comments"])
                if (comment == tag) return true;
    return false;
}

}  // namespace

std::vector<json> tablesTagged(const json& dump, const std::string& tag) {
    std::vector<json> found;
    for (const auto& table : dump["tables"])
        if (tagged(table, tag)) found.push_back(table);
    return found;
}

int tableIndex(const json& dump, const std::string& tag) {
    for (std::size_t i = 0; i < dump["tables"].size(); ++i)
        if (tagged(dump["tables"][i], tag)) return static_cast<int>(i);
    return -1;
}

const json* rowWith(const json& table, std::size_t column, const std::string& text) {
    for (const auto& row : table["rows"])
        if (column < row.size() && trim(row[column]["text"].get<std::string>()) == text)
            return &row;
    return nullptr;
}

std::vector<std::string> textsAfter(const json& dump, const std::string& marker) {
    std::vector<std::string> texts;
    for (const auto& comment : dump["comments"])
        if (comment["text"] == marker) texts.push_back(trim(comment["after"].get<std::string>()));
    return texts;
}

json shape(const json& dump, const std::string& name) {
    for (const auto& s : dump["shapes"])
        if (s["name"] == name) return s;
    return json::object();
}

long long cents(const std::string& amount) {
    std::string digits;
    for (char c : amount)
        if ((c >= '0' && c <= '9') || c == '-') digits += c;
    return std::atoll(digits.c_str());
}

std::string euro(long long c) {
    const bool negative = c < 0;
    std::string whole = std::to_string(std::llabs(c) / 100);
    for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(at, ".");
    const long long rest = std::llabs(c) % 100;
    return (negative ? "-" : "") + whole + "," + (rest < 10 ? "0" : "") + std::to_string(rest);
}

void expectTotals(const json& dump, long long net) {
    const long long vat = (19 * net + 50) / 100, gross = net + vat;
    const auto totals = tablesTagged(dump, "RE_Summe");
    ASSERT_EQ(totals.size(), 1u);
    const std::pair<const char*, long long> rows[] = {
        {"Summe", net}, {"Mehrwertsteuer 19 %", vat}, {"Rechnungsbetrag", gross}};
    for (const auto& [label, amount] : rows) {
        const json* row = rowWith(totals[0], 1, label);
        ASSERT_TRUE(row) << label << " in " << totals[0].dump();
        EXPECT_EQ(trim((*row)[3]["text"]), euro(amount) + " €") << label;
        EXPECT_EQ((*row)[3]["bold"], amount == gross) << label;
    }
    const std::pair<const char*, long long> markers[] = {{"lumNetto", net},
                                                         {"lumMwSt", vat},
                                                         {"lumBrutto", gross},
                                                         {"lumGesamt", gross},
                                                         {"lumAuslagen", 0}};
    for (const auto& [marker, amount] : markers) {
        const auto after = textsAfter(dump, marker);
        ASSERT_FALSE(after.empty()) << marker;
        for (const auto& text : after)
            EXPECT_TRUE(text.starts_with(euro(amount) + " €")) << marker << ": " << text;
    }
}

}  // namespace tarvex::e2e
