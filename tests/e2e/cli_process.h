#pragma once
// Runs the built tarvex binary as a user would: its own process, a given environment, standard
// output and error captured in files (no pipe can fill up), standard input from a pipe the
// test writes to at its own pace.

#include <sys/types.h>

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
    // Starts `program` with `args`; `env` entries replace or add to the test's environment.
    // Output goes to files in `scratch`. Throws std::runtime_error when it cannot start.
    CliProcess(const std::string& program, const std::vector<std::string>& args,
               const std::map<std::string, std::string>& env, const std::filesystem::path& scratch);
    ~CliProcess();  // kills the process when the test failed before waiting for it
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // Writes to the process's standard input (ignored once it is closed).
    void write(const std::string& text);
    void closeInput();
    // Closes the input, waits for the end and collects the output. Call once.
    CliResult wait();

  private:
    pid_t pid_ = -1;
    int input_ = -1;
    std::filesystem::path outFile_, errFile_;
};

}  // namespace tarvex::e2e
