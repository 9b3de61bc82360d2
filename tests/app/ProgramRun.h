// The built program run as a child process, for tests that must not hang: its
// standard error is collected through a pipe and every wait has a time limit.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace lumivane::testing {

// build/tests/test_app -> build/app/lumivane.
std::filesystem::path programPath();

class ProgramRun {
  public:
    // Starts the program with args; env entries are set (a value) or removed
    // (nothing) in the child's environment. Standard output goes to /dev/null.
    ProgramRun(const std::vector<std::string>& args,
               const std::map<std::string, std::optional<std::string>>& env = {});
    ~ProgramRun(); // kills the program if it still runs
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Waits at most seconds until standard error holds text or the program
    // ended; true when the text was seen.
    bool waitForError(const std::string& text, double seconds);
    bool running();
    // Waits at most seconds for the end; the exit status, or -1 when the
    // program was killed by a signal or had to be killed after the time.
    int wait(double seconds);
    // Sends signal and waits as wait() does.
    int stop(int signal, double seconds);
    const std::string& errorText() const { return err_; }
    // The signal that ended the program by itself, or 0 (also when the
    // program had to be killed after its time).
    int endSignal() const;

  private:
    void readAvailable(int timeoutMs);

    pid_t pid_ = -1;
    int errFd_ = -1;
    std::optional<int> status_;
    std::string err_;
};

} // namespace lumivane::testing
