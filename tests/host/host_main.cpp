// The host tests keep the class registry and the log in a folder of their own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    const auto home =
        std::filesystem::temp_directory_path() / ("tarvex-host-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("TMPDIR", home.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
