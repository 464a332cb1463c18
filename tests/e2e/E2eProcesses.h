// Processes of the end-to-end runs: starting a program, its end and exit code, and the
// processes whose programs lie in a folder (what a case started, directly or not).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Handle.h"

namespace e2e {

// A process the test started. Terminated when the object goes if it still runs.
class StartedProcess {
public:
    StartedProcess() = default;
    StartedProcess(StartedProcess&&) = default;
    StartedProcess& operator=(StartedProcess&&) = default;
    ~StartedProcess() { Terminate(); }

    // Starts program with the command line "<program>" followed by a blank and args (nothing
    // when args is empty), in folder currentDir. Returns CreateProcessA's result.
    bool Start(const std::string& program, const std::string& args, const std::string& currentDir);

    DWORD Pid() const { return m_pid; }
    HANDLE Handle() const { return m_process.Get(); }
    bool Started() const { return m_process.IsValid(); }
    bool HasEnded() const;
    // The exit code once it has ended; false while it runs.
    bool ExitCode(DWORD* code) const;
    // Ends it at once if it still runs and waits for it to be gone.
    void Terminate();

private:
    CHandle m_process;
    DWORD m_pid = 0;
};

struct RunningProcess {
    DWORD pid;
    std::string image;  // full path of its program
};

// The running processes whose program lies in folder or below it.
std::vector<RunningProcess> ProcessesIn(const std::string& folder);
// Terminates those processes and waits (up to waitMs) for them to be gone; returns what it
// found.
std::vector<RunningProcess> TerminateProcessesIn(const std::string& folder, DWORD waitMs);

}  // namespace e2e
