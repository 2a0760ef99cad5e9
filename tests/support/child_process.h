// A program run by a test: started with extra environment, its standard
// output readable line by line, killed when the test ends.
#pragma once
#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vesk::test {

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `path` with `args`; `env` adds to (or overrides) the test's
    // environment. Standard output and error go to a pipe.
    bool start(const std::string& path, const std::vector<std::string>& args,
               const std::map<std::string, std::string>& env = {});
    // Next output line, or nothing when none came within `timeout`.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);
    bool running();
    // The exit status once running() has seen the program end by itself.
    std::optional<int> exitCode() const { return exitCode_; }
    void kill();
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string pending_;
    std::optional<int> exitCode_;
};

}  // namespace vesk::test
