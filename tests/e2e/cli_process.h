#pragma once
// Runs the built tarvex binary as a user would: its own process, a given environment, standard
// output and error captured in files (no pipe can fill up), standard input from a pipe the
// test writes to at its own pace.

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tarvex::e2e {

struct CliResult {
    int exitCode = -1;  // the process's exit status; 128 + signal when it was killed
    std::string out;
    std::string err;
};

class CliProcess {
  public:
    // Starts `program` with `args` and the `env` entries added to the test's environment.
    // Output goes to files in `scratch`. Throws std::runtime_error when it cannot start.
    CliProcess(const std::string& program, const std::vector<std::string>& args,
               const std::map<std::string, std::string>& env, const std::filesystem::path& scratch);
    ~CliProcess();  // closes the input and waits when the test did not
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // Writes to the process's standard input.
    void write(const std::string& text);
    // Closes the input, waits for the end and collects the output. Call once.
    CliResult wait();

  private:
    std::FILE* input_ = nullptr;
    std::filesystem::path outFile_, errFile_;
};

}  // namespace tarvex::e2e
