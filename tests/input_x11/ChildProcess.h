#pragma once
// Programs the tests start: a target terminal, setxkbmap, the probe program. Children start
// with no signal blocked, whatever the test process itself blocks.
#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

class TChildProcess {
public:
    // Starts Arguments[0] (looked up in PATH) with Environment added to this process's own.
    // Standard output and error go to OutputFile when one is given.
    explicit TChildProcess(const std::vector<std::string>& Arguments,
        const std::vector<std::string>& Environment = {}, const std::string& OutputFile = "");
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    pid_t Id() const { return Pid; }
    void Signal(int Number);
    // The raw wait status, or -1 if the child has not ended within Timeout.
    int Wait(std::chrono::milliseconds Timeout = std::chrono::seconds(10));

private:
    pid_t Pid = -1;
    bool Ended = false;
};

// Runs a program to its end; true when it exits with status 0.
bool RunProgram(const std::vector<std::string>& Arguments);
// setxkbmap with a layout such as "de", "us,gr" or "us:dvorak".
bool SetLayout(const std::string& Layout);

std::string ReadWholeFile(const std::string& Path);
// The server's whole keymap as xkbcomp writes it: equal dumps are equal keymaps.
std::string KeymapDump();
// Polls Condition every few milliseconds until it holds or Timeout has passed.
template <typename TCondition>
bool WaitFor(TCondition Condition, std::chrono::milliseconds Timeout = std::chrono::seconds(10));

#include <thread>
template <typename TCondition>
bool WaitFor(TCondition Condition, std::chrono::milliseconds Timeout)
{
    const auto Deadline = std::chrono::steady_clock::now() + Timeout;
    while (!Condition()) {
        if (std::chrono::steady_clock::now() > Deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    return true;
}
