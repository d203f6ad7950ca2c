#include "cli_process.h"

#include <signal.h>
#include <sys/wait.h>

#include <atomic>
#include <stdexcept>

#include "common/test_files.h"

namespace tarvex::e2e {

namespace {

// `text` as one word of the shell, whatever it holds.
std::string quoted(const std::string& text) {
    std::string word = "'";
    for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

}  // namespace

CliProcess::CliProcess(const std::string& program, const std::vector<std::string>& args,
                       const std::map<std::string, std::string>& env,
                       const std::filesystem::path& scratch) {
    static std::atomic<int> counter{0};
    const std::string stem = "run" + std::to_string(++counter);
    outFile_ = scratch / (stem + ".out");
    errFile_ = scratch / (stem + ".err");
    std::string command = "exec env";
    for (const auto& [name, value] : env) command += " " + name + "=" + quoted(value);
    command += " " + quoted(program);
    for (const auto& arg : args) command += " " + quoted(arg);
    command += " >" + quoted(outFile_) + " 2>" + quoted(errFile_);
    // A process that already ended must not kill the test with SIGPIPE.
    ::signal(SIGPIPE, SIG_IGN);
    input_ = ::popen(command.c_str(), "w");
    if (!input_) throw std::runtime_error("cannot start " + program);
}

CliProcess::~CliProcess() {
    if (input_) ::pclose(input_);
}

void CliProcess::write(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), input_);
    std::fflush(input_);
}

CliResult CliProcess::wait() {
    const int status = ::pclose(input_);
    input_ = nullptr;
    CliResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = testing::readFile(outFile_);
    result.err = testing::readFile(errFile_);
    return result;
}

}  // namespace tarvex::e2e
