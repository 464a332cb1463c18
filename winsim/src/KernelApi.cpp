// Simulated kernel32: errors, modules, threads and process end, named events and waits,
// files, and string helpers.
#include <chrono>
#include <cstring>

#include "State.h"

using namespace winsim;

namespace winsim {
std::shared_ptr<Thread> StartThreadLocked(Process* p, std::function<DWORD()> fn, bool suspended);

namespace {
const HINSTANCE kModuleBase = reinterpret_cast<HINSTANCE>(0x00400000);
const HANDLE kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

// A named or unnamed event. Named events are shared by every process of the world; an event
// lives as long as some handle refers to it.
struct Event : KernelObject {
    std::string name;
    bool manualReset = false;
    bool signaled = false;
};

std::map<std::string, std::weak_ptr<Event>>& NamedEvents() {
    static std::map<std::string, std::weak_ptr<Event>> events;
    return events;
}
}  // namespace

bool SetNamedEventLocked(const std::string& name) {
    auto it = NamedEvents().find(name);
    std::shared_ptr<Event> e = it == NamedEvents().end() ? nullptr : it->second.lock();
    if (!e) return false;
    e->signaled = true;
    WakeAllLocked();
    return true;
}

bool NamedEventExistsLocked(const std::string& name) {
    auto it = NamedEvents().find(name);
    return it != NamedEvents().end() && !it->second.expired();
}

namespace {

// The object a handle names in the calling process: the pseudo handle -1 is the process.
std::shared_ptr<KernelObject> Resolve(HANDLE h) {
    if (h == kCurrentProcess) {
        Process* p = CurrentProcess();
        return p ? S().processes[p->pid] : nullptr;
    }
    return LookupHandleLocked(h);
}
}  // namespace
}  // namespace winsim

DWORD WINAPI GetLastError() {
    Thread* t = CurrentThread();
    return t ? t->lastError : 0;
}

void WINAPI SetLastError(DWORD dwErrCode) {
    if (Thread* t = CurrentThread()) t->lastError = dwErrCode;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    return lpModuleName == NULL ? kModuleBase : NULL;
}

DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    Process* p = CurrentProcess();
    if (p == nullptr || (hModule != NULL && hModule != kModuleBase) || nSize == 0) {
        SetLastErrorLocked(ERROR_INVALID_HANDLE);
        return 0;
    }
    const std::string& path = p->imagePath;
    if (path.size() < nSize) {
        std::memcpy(lpFilename, path.c_str(), path.size() + 1);
        return static_cast<DWORD>(path.size());
    }
    // Too small: the path is cut and terminated, and the buffer's size comes back.
    std::memcpy(lpFilename, path.c_str(), nSize - 1);
    lpFilename[nSize - 1] = '\0';
    SetLastErrorLocked(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
}

LPSTR WINAPI GetCommandLineA() {
    Process* p = CurrentProcess();
    return p ? &p->commandLine[0] : const_cast<LPSTR>("");
}

HANDLE WINAPI GetCurrentProcess() { return kCurrentProcess; }

DWORD WINAPI GetCurrentProcessId() {
    Process* p = CurrentProcess();
    return p ? p->pid : 0;
}

DWORD WINAPI GetCurrentThreadId() {
    Thread* t = CurrentThread();
    return t ? t->tid : 0;
}

void WINAPI ExitProcess(UINT uExitCode) {
    std::unique_lock<std::mutex> lock(S().mu);
    Process* p = CurrentProcess();
    if (p == nullptr) throw SimulationError("ExitProcess called outside a simulated process");
    EndProcessLocked(p, uExitCode);
    lock.unlock();
    throw ProcessExit{uExitCode};
}

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE lpStartAddress,
                           LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    Process* p = CurrentProcess();
    if (p == nullptr || S().refuseThreads) {
        SetLastErrorLocked(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    auto t = StartThreadLocked(
        p, [lpStartAddress, lpParameter]() { return lpStartAddress(lpParameter); },
        (dwCreationFlags & CREATE_SUSPENDED) != 0);
    if (lpThreadId) *lpThreadId = t->tid;
    return NewHandleLocked(p, t);
}

BOOL WINAPI SetThreadPriority(HANDLE hThread, int) {
    std::lock_guard<std::mutex> lock(S().mu);
    return dynamic_cast<Thread*>(LookupHandleLocked(hThread).get()) != nullptr;
}

DWORD WINAPI ResumeThread(HANDLE hThread) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto t = std::dynamic_pointer_cast<Thread>(LookupHandleLocked(hThread));
    if (!t) return static_cast<DWORD>(-1);
    DWORD previous = t->suspended ? 1 : 0;
    t->suspended = false;
    t->cv.notify_all();
    return previous;
}

BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto t = std::dynamic_pointer_cast<Thread>(LookupHandleLocked(hThread));
    if (!t) return FALSE;
    *lpExitCode = t->exitCode;
    return TRUE;
}

BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto p = std::dynamic_pointer_cast<Process>(Resolve(hProcess));
    if (!p) return FALSE;
    *lpExitCode = p->exitCode;
    return TRUE;
}

void WINAPI Sleep(DWORD dwMilliseconds) {
    std::unique_lock<std::mutex> lock(S().mu);
    Thread* t = CurrentThread();
    if (t == nullptr) {
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
        return;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwMilliseconds);
    while (CheckAlive(lock) && std::chrono::steady_clock::now() < deadline) t->cv.wait_until(lock, deadline);
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
    std::unique_lock<std::mutex> lock(S().mu);
    Process* p = CurrentProcess();
    if (p == nullptr || p->handles.erase(hObject) == 0) {
        SetLastErrorLocked(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCSTR lpName) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    Process* p = CurrentProcess();
    if (p == nullptr) return NULL;
    if (lpName != NULL && *lpName != '\0') {
        auto it = NamedEvents().find(lpName);
        if (it != NamedEvents().end()) {
            if (auto existing = it->second.lock()) {
                // The same event, in its current state; creation arguments are ignored.
                HANDLE h = NewHandleLocked(p, existing);
                SetLastErrorLocked(ERROR_ALREADY_EXISTS);
                return h;
            }
        }
    }
    auto e = std::make_shared<Event>();
    e->name = lpName ? lpName : "";
    e->manualReset = bManualReset != FALSE;
    e->signaled = bInitialState != FALSE;
    if (!e->name.empty()) NamedEvents()[e->name] = e;
    HANDLE h = NewHandleLocked(p, e);
    SetLastErrorLocked(ERROR_SUCCESS);
    return h;
}

HANDLE WINAPI OpenEventA(DWORD, BOOL, LPCSTR lpName) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    Process* p = CurrentProcess();
    if (p == nullptr || lpName == NULL) return NULL;
    auto it = NamedEvents().find(lpName);
    std::shared_ptr<Event> e = it == NamedEvents().end() ? nullptr : it->second.lock();
    if (!e) {
        SetLastErrorLocked(ERROR_FILE_NOT_FOUND);
        return NULL;
    }
    return NewHandleLocked(p, e);
}

BOOL WINAPI SetEvent(HANDLE hEvent) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    auto e = std::dynamic_pointer_cast<Event>(LookupHandleLocked(hEvent));
    if (!e) {
        SetLastErrorLocked(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    e->signaled = true;
    WakeAllLocked();
    return TRUE;
}

BOOL WINAPI ResetEvent(HANDLE hEvent) {
    std::unique_lock<std::mutex> lock(S().mu);
    auto e = std::dynamic_pointer_cast<Event>(LookupHandleLocked(hEvent));
    if (!e) return FALSE;
    e->signaled = false;
    return TRUE;
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    Thread* self = CurrentThread();
    std::shared_ptr<KernelObject> obj = Resolve(hHandle);
    if (!obj || self == nullptr) {
        SetLastErrorLocked(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    // Whether the object is signalled now; an auto-reset event is consumed by the one wait
    // that sees it.
    auto ready = [&]() -> bool {
        if (auto e = std::dynamic_pointer_cast<Event>(obj)) {
            if (!e->signaled) return false;
            if (!e->manualReset) e->signaled = false;
            return true;
        }
        if (auto t = std::dynamic_pointer_cast<Thread>(obj)) return t->finished;
        if (auto p = std::dynamic_pointer_cast<Process>(obj)) return p->ended;
        return false;
    };
    if (dwMilliseconds == INFINITE) {
        struct Waiting {
            Thread* t;
            explicit Waiting(Thread* thread) : t(thread) { t->waiting = true; }
            ~Waiting() { t->waiting = false; }
        } waiting(self);
        if (!WaitFor(lock, self, "WaitForSingleObject(INFINITE)", ready)) return WAIT_FAILED;
        return WAIT_OBJECT_0;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwMilliseconds);
    for (;;) {
        if (!CheckAlive(lock)) return WAIT_FAILED;
        if (ready()) return WAIT_OBJECT_0;
        if (self->cv.wait_until(lock, deadline) == std::cv_status::timeout) {
            if (!CheckAlive(lock)) return WAIT_FAILED;
            return ready() ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
        }
    }
}

DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    if (lpFileName == NULL || *lpFileName == '\0') {
        SetLastErrorLocked(ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string key = NormalisePath(lpFileName);
    auto it = S().files.find(key);
    if (it == S().files.end()) {
        SetLastErrorLocked(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    return it->second.folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
    std::lock_guard<std::mutex> lock(S().mu);
    Process* p = CurrentProcess();
    if (p == nullptr) return 0;
    const std::string& dir = p->currentDir;
    if (dir.size() + 1 > nBufferLength) return static_cast<DWORD>(dir.size() + 1);
    std::memcpy(lpBuffer, dir.c_str(), dir.size() + 1);
    return static_cast<DWORD>(dir.size());
}

int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2) {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(lpString1 ? lpString1 : "");
    const unsigned char* b = reinterpret_cast<const unsigned char*>(lpString2 ? lpString2 : "");
    for (;; ++a, ++b) {
        int ca = std::toupper(*a), cb = std::toupper(*b);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2) {
    int r = std::strcmp(lpString1 ? lpString1 : "", lpString2 ? lpString2 : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int WINAPI lstrlenA(LPCSTR lpString) { return lpString ? static_cast<int>(std::strlen(lpString)) : 0; }

LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2) { return std::strcpy(lpString1, lpString2); }

LPSTR WINAPI CharNextA(LPCSTR lpsz) {
    return const_cast<LPSTR>(*lpsz ? lpsz + 1 : lpsz);
}

// The simulated machine runs the Western European ANSI code page, which has no lead bytes.
BOOL WINAPI IsDBCSLeadByte(BYTE) { return FALSE; }
