#pragma once
// quillon-cli as a real process, for what only processes show: signals, kills, other users. POSIX only.
#ifndef _WIN32
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon::testing {

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// quillon-cli in a process of its own: environment additions, standard output to a file, optionally as another
// user. Wait gives the exit status, or 128 + the signal that ended it.
class TCliProcess {
public:
    TCliProcess(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {},
                const std::filesystem::path& out = "/dev/null", int asUser = -1) {
        Pid = fork();
        if (Pid != 0)
            return;
        for (const auto& [name, value] : env)
            ::setenv(name.c_str(), value.c_str(), 1);
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, 1);
        const int errFd =
            ::open((out.string() == "/dev/null" ? out : std::filesystem::path(out.string() + ".err")).c_str(),
                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(errFd, 2);
        if (asUser >= 0 && (::setgid(static_cast<gid_t>(asUser)) != 0 || ::setuid(static_cast<uid_t>(asUser)) != 0))
            _exit(126);
        std::vector<char*> argv{const_cast<char*>(QUILLON_CLI_PATH)};
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(QUILLON_CLI_PATH, argv.data());
        _exit(127);
    }
    int Wait() {
        int status = 0;
        ::waitpid(Pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    void Kill() const { ::kill(Pid, SIGKILL); }
    void Signal(int signal) const { ::kill(Pid, signal); }

private:
    pid_t Pid = -1;
};

} // namespace quillon::testing
#endif
