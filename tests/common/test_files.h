#pragma once
// Files for tests: a temporary folder removed with the object, copies of the invoice
// templates in tests/data, whole files read back.

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace tarvex::testing {

class TempFolder {
  public:
    TempFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("tarvex-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline std::string templatePath(const std::string& name) {
    return std::string(TARVEX_TEST_DATA) + "/templates/" + name;
}

// A copy of the template `name` in `folder`; returns the copy's path.
inline std::filesystem::path copyTemplate(const std::string& name,
                                          const std::filesystem::path& folder) {
    const auto target = folder / name;
    std::filesystem::copy_file(templatePath(name), target);
    return target;
}

// How many entries `folder` holds: a save leaves no temporary file behind.
inline std::size_t entryCount(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
}

inline std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace tarvex::testing
