#include "cli_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "common/test_files.h"

extern char** environ;

namespace tarvex::e2e {

namespace {

std::vector<std::string> mergedEnvironment(const std::map<std::string, std::string>& env) {
    std::vector<std::string> merged;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (!env.contains(entry.substr(0, entry.find('=')))) merged.push_back(entry);
    }
    for (const auto& [name, value] : env) merged.push_back(name + "=" + value);
    return merged;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (auto& s : strings) result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

}  // namespace

CliProcess::CliProcess(const std::string& program, const std::vector<std::string>& args,
                       const std::map<std::string, std::string>& env,
                       const std::filesystem::path& scratch) {
    static std::atomic<int> counter{0};
    const std::string stem = "run" + std::to_string(++counter);
    outFile_ = scratch / (stem + ".out");
    errFile_ = scratch / (stem + ".err");

    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);

    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envp = mergedEnvironment(env);
    auto argvPointers = pointers(argv);
    auto envPointers = pointers(envp);
    const int rc = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argvPointers.data(),
                                 envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[0]);
    input_ = pipeEnds[1];
    if (rc != 0) {
        closeInput();
        pid_ = -1;
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(rc));
    }
}

CliProcess::~CliProcess() {
    closeInput();
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

void CliProcess::write(const std::string& text) {
    if (input_ < 0) return;
    // A process that already ended must not kill the test with SIGPIPE.
    ::signal(SIGPIPE, SIG_IGN);
    [[maybe_unused]] const auto written = ::write(input_, text.data(), text.size());
}

void CliProcess::closeInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
}

CliResult CliProcess::wait() {
    closeInput();
    CliResult result;
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = testing::readFile(outFile_);
    result.err = testing::readFile(errFile_);
    return result;
}

}  // namespace tarvex::e2e
