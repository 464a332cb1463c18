// Simulated process creation: CreateProcessA finds its program as Windows does and starts the
// program installed at that path as a new simulated process.
#include <chrono>

#include "State.h"

using namespace winsim;

namespace winsim {
bool SetNamedEventLocked(const std::string& name);
bool NamedEventExistsLocked(const std::string& name);

namespace {
const char kSystemFolder[] = "C:\\WINDOWS\\system32";

bool HasExtension(const std::string& path) {
    size_t slash = path.rfind('\\');
    size_t dot = path.rfind('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

bool IsRelative(const std::string& path) {
    return !(path.size() >= 2 && path[1] == ':') && !(path.size() >= 1 && path[0] == '\\');
}

std::string FolderOf(const std::string& path) {
    size_t k = path.rfind('\\');
    return k == std::string::npos ? "" : path.substr(0, k);
}

// The file a program name refers to: ".exe" added when it has no extension; a name without a
// folder is looked for in the caller's program folder, its current folder and the system
// folder. Empty when there is no such file.
std::string ResolveProgramLocked(const std::string& name, Process* caller) {
    std::string file = HasExtension(name) ? name : name + ".exe";
    std::vector<std::string> candidates;
    if (IsRelative(file) && file.find('\\') == std::string::npos) {
        if (caller) candidates.push_back(FolderOf(caller->imagePath) + "\\" + file);
        if (caller) candidates.push_back(caller->currentDir + (caller->currentDir.back() == '\\' ? "" : "\\") + file);
        candidates.push_back(std::string(kSystemFolder) + "\\" + file);
    } else {
        candidates.push_back(file);
    }
    for (const std::string& c : candidates) {
        auto it = S().files.find(NormalisePath(c));
        if (it != S().files.end() && !it->second.folder) return c;
    }
    return "";
}
}  // namespace

DWORD StartProcessLocked(const World::ProcessOptions& options, World::ProgramMain main);
}  // namespace winsim

BOOL WINAPI CreateProcessA(LPCSTR lpApplicationName, LPSTR lpCommandLine, LPSECURITY_ATTRIBUTES,
                           LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCSTR lpCurrentDirectory,
                           LPSTARTUPINFOA, LPPROCESS_INFORMATION lpProcessInformation) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    Process* caller = CurrentProcess();
    World::ProcessStart request;
    request.applicationName = lpApplicationName ? lpApplicationName : "";
    request.commandLine = lpCommandLine ? lpCommandLine : "";
    S().startRequests.push_back(request);
    if (S().refuseProcesses) {
        SetLastErrorLocked(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }

    std::string image;
    if (lpApplicationName != nullptr) {
        // The name is taken as it stands: no search, no ".exe" added when it has an extension.
        image = ResolveProgramLocked(lpApplicationName, caller);
    } else {
        const std::string& cmd = request.commandLine;
        if (!cmd.empty() && cmd[0] == '"') {
            size_t close = cmd.find('"', 1);
            image = ResolveProgramLocked(cmd.substr(1, close == std::string::npos ? std::string::npos : close - 1), caller);
        } else {
            // Unquoted: each blank-separated prefix is tried as a program, shortest first.
            for (size_t end = 0;; ++end) {
                if (end == cmd.size() || cmd[end] == ' ' || cmd[end] == '\t') {
                    image = ResolveProgramLocked(cmd.substr(0, end), caller);
                    if (!image.empty() || end == cmd.size()) break;
                }
            }
        }
    }
    if (image.empty()) {
        SetLastErrorLocked(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    auto program = S().programs.find(NormalisePath(image));
    if (program == S().programs.end()) {
        SetLastErrorLocked(ERROR_BAD_EXE_FORMAT);
        return FALSE;
    }
    World::ProcessOptions options;
    options.imagePath = image;
    options.commandLine = request.commandLine;
    options.currentDir = lpCurrentDirectory ? lpCurrentDirectory : (caller ? caller->currentDir : "C:\\");
    DWORD pid = StartProcessLocked(options, program->second);
    request.imagePath = image;
    request.currentDir = options.currentDir;
    request.pid = pid;
    S().started.push_back(request);
    if (lpProcessInformation != nullptr && caller != nullptr) {
        auto p = S().processes[pid];
        lpProcessInformation->hProcess = NewHandleLocked(caller, p);
        lpProcessInformation->hThread = NewHandleLocked(caller, p->threads.front());
        lpProcessInformation->dwProcessId = pid;
        lpProcessInformation->dwThreadId = p->threads.front()->tid;
    }
    return TRUE;
}

void World::InstallProgram(const std::string& path, ProgramMain main) {
    AddFile(path, "MZ");
    std::lock_guard<std::mutex> lock(S().mu);
    S().programs[NormalisePath(path)] = std::move(main);
}

void World::RefuseProcessCreation(bool refuse) {
    std::lock_guard<std::mutex> lock(S().mu);
    S().refuseProcesses = refuse;
}

std::vector<World::ProcessStart> World::Started() {
    std::lock_guard<std::mutex> lock(S().mu);
    return S().started;
}

std::vector<World::ProcessStart> World::StartRequests() {
    std::lock_guard<std::mutex> lock(S().mu);
    return S().startRequests;
}

bool World::SetNamedEvent(const std::string& name) {
    std::lock_guard<std::mutex> lock(S().mu);
    return SetNamedEventLocked(name);
}

bool World::NamedEventExists(const std::string& name) {
    std::lock_guard<std::mutex> lock(S().mu);
    return NamedEventExistsLocked(name);
}

int World::ThreadsWaiting(DWORD pid) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto it = S().processes.find(pid);
    if (it == S().processes.end()) return 0;
    int n = 0;
    for (auto& t : it->second->threads) n += (t->waiting && !t->finished) ? 1 : 0;
    return n;
}

bool World::WaitUntil(const std::function<bool()>& pred, unsigned timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
