// Processes of the end-to-end runs.
#include "E2eProcesses.h"

#include <tlhelp32.h>

namespace e2e {

namespace {

// How long a terminated process may take to be gone.
const DWORD kTerminateWaitMs = 10000;

bool StartsWithFolder(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path[folder.size()] == '\\' &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(), static_cast<int>(folder.size()),
                          folder.c_str(), static_cast<int>(folder.size())) == CSTR_EQUAL;
}

}  // namespace

bool StartedProcess::Start(const std::string& program, const std::string& args, const std::string& currentDir) {
    Terminate();
    std::string cmdLine = "\"" + program + "\"" + (args.empty() ? "" : " " + args);
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof pi);
    if (!CreateProcessA(program.c_str(), &cmdLine[0], NULL, NULL, FALSE, 0, NULL, currentDir.c_str(), &si, &pi)) {
        return false;
    }
    CloseHandle(pi.hThread);
    m_process.Attach(pi.hProcess);
    m_pid = pi.dwProcessId;
    return true;
}

bool StartedProcess::HasEnded() const {
    return !m_process.IsValid() || WaitForSingleObject(m_process.Get(), 0) == WAIT_OBJECT_0;
}

bool StartedProcess::ExitCode(DWORD* code) const {
    if (!m_process.IsValid() || !HasEnded()) return false;
    return GetExitCodeProcess(m_process.Get(), code) != FALSE;
}

void StartedProcess::Terminate() {
    if (!m_process.IsValid() || HasEnded()) return;
    TerminateProcess(m_process.Get(), 0xDEAD);
    WaitForSingleObject(m_process.Get(), kTerminateWaitMs);
}

std::vector<RunningProcess> ProcessesIn(const std::string& folder) {
    std::vector<RunningProcess> found;
    CHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsValid()) return found;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry)) {
        CHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        if (!process.IsValid()) continue;
        char image[MAX_PATH * 2] = "";
        DWORD size = sizeof image;
        if (!QueryFullProcessImageNameA(process.Get(), 0, image, &size)) continue;
        if (WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0) continue;  // ending already
        if (StartsWithFolder(image, folder)) found.push_back({entry.th32ProcessID, image});
    }
    return found;
}

std::vector<RunningProcess> TerminateProcessesIn(const std::string& folder, DWORD waitMs) {
    std::vector<RunningProcess> found = ProcessesIn(folder);
    std::vector<CHandle> ending;
    for (const RunningProcess& p : found) {
        CHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, p.pid));
        if (!process.IsValid()) continue;
        TerminateProcess(process.Get(), 0xDEAD);
        ending.push_back(std::move(process));
    }
    const DWORD start = GetTickCount();
    for (const CHandle& process : ending) {
        DWORD spent = GetTickCount() - start;
        WaitForSingleObject(process.Get(), spent < waitMs ? waitMs - spent : 0);
    }
    return found;
}

}  // namespace e2e
