#include "ProgramRun.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumivane::testing {

std::filesystem::path programPath() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "app" /
           "lumivane";
}

ProgramRun::ProgramRun(const std::vector<std::string>& args,
                       const std::map<std::string, std::optional<std::string>>& env) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    const std::string program = programPath().string();
    pid_ = ::fork();
    if (pid_ == 0) {
        for (const auto& [name, value] : env)
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(pipeFds[1], STDERR_FILENO);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    errFd_ = pipeFds[0];
    if (pid_ < 0)
        throw std::runtime_error("cannot start the program");
}

ProgramRun::~ProgramRun() {
    if (running())
        stop(SIGKILL, 5);
    if (errFd_ >= 0)
        ::close(errFd_);
}

void ProgramRun::readAvailable(int timeoutMs) {
    if (errFd_ < 0)
        return;
    pollfd watched{errFd_, POLLIN, 0};
    if (::poll(&watched, 1, timeoutMs) <= 0)
        return;
    char buffer[4096];
    const ssize_t got = ::read(errFd_, buffer, sizeof buffer);
    if (got > 0) {
        err_.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0) {
        ::close(errFd_);
        errFd_ = -1;
    }
}

bool ProgramRun::running() {
    if (status_ || pid_ < 0)
        return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_)
        status_ = status;
    return !status_;
}

bool ProgramRun::waitForError(const std::string& text, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (err_.find(text) == std::string::npos && std::chrono::steady_clock::now() < end) {
        if (!running() && errFd_ < 0)
            break;
        readAvailable(50);
    }
    return err_.find(text) != std::string::npos;
}

int ProgramRun::wait(double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (running() && std::chrono::steady_clock::now() < end)
        readAvailable(20);
    if (running()) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        status_ = -1;
        return -1;
    }
    for (int tries = 0; errFd_ >= 0 && tries < 100; ++tries)
        readAvailable(20); // what is left in the pipe
    return WIFEXITED(*status_) ? WEXITSTATUS(*status_) : -1;
}

int ProgramRun::endSignal() const {
    return status_ && *status_ != -1 && WIFSIGNALED(*status_) ? WTERMSIG(*status_) : 0;
}

int ProgramRun::stop(int signal, double seconds) {
    if (running())
        ::kill(pid_, signal);
    return wait(seconds);
}

} // namespace lumivane::testing
