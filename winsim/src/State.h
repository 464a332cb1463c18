// The world's internal state, shared by the API implementations. One lock guards it all;
// window procedures and other callbacks are always called with the lock released.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "winsim_world.h"

namespace winsim {

struct Process;

// A kernel object reachable through handles.
struct KernelObject {
    virtual ~KernelObject() = default;
};

struct Thread : KernelObject {
    DWORD tid = 0;
    Process* process = nullptr;
    std::deque<MSG> posted;
    bool quitPosted = false;
    int quitCode = 0;
    std::condition_variable cv;  // wakes waits of this thread (messages, events, process end)
    bool finished = false;
    DWORD exitCode = 259;  // STILL_ACTIVE
    bool suspended = false;
    std::thread th;        // the host thread; joined by Reset
    DWORD lastError = 0;
    HWND focus = NULL;
    HWND active = NULL;
    bool waiting = false;  // blocked in WaitForSingleObject
};

struct Process : KernelObject {
    DWORD pid = 0;
    std::string imagePath;
    std::string commandLine;
    std::string currentDir;
    std::shared_ptr<const ResourceFile> resources;
    bool ended = false;
    UINT exitCode = 259;  // STILL_ACTIVE
    std::vector<std::shared_ptr<Thread>> threads;
    std::map<HANDLE, std::shared_ptr<KernelObject>> handles;
    bool attachedTestThread = false;
};

struct WndClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE hInstance = NULL;
    HICON icon = NULL;
    HCURSOR cursor = NULL;
    HBRUSH brush = NULL;
    int cbWndExtra = 0;
    DWORD pid = 0;  // 0 for the system's classes
};

struct Window {
    HWND hwnd = NULL;
    std::string className;
    UINT classStyle = 0;
    WNDPROC proc = nullptr;
    std::string text;
    DWORD style = 0, exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    HWND parent = NULL, owner = NULL, createdWith = NULL;
    int id = 0;
    Thread* thread = nullptr;
    DWORD pid = 0;
    bool destroying = false;
    HINSTANCE hInstance = NULL;
    LONG_PTR userData = 0;
    std::map<int, LONG_PTR> extra;  // window extra bytes by offset (dialog words)
    HICON bigIcon = NULL, smallIcon = NULL;
    HANDLE image = NULL;           // BM_SETIMAGE
    bool pushed = false;           // button held down
    bool iconic = false;
    int minimizedCx = 0, minimizedCy = 0;  // client area while minimised
    HFONT font = NULL;
    // Dialogs.
    bool isDialog = false;
    DLGPROC dlgProc = nullptr;
    bool dialogModal = false;
    bool dialogEnded = false;
    INT_PTR dialogResult = 0;
    std::vector<HWND> children;    // in creation (tab) order
    std::uint64_t order = 0;       // creation order
};

struct State {
    std::mutex mu;
    unsigned hangLimitMs = 10000;
    DWORD nextId = 0x100;
    std::uintptr_t nextHandle = 0x1000;
    std::uint64_t nextOrder = 1;
    std::map<DWORD, std::shared_ptr<Process>> processes;
    std::vector<std::shared_ptr<Thread>> allThreads;
    std::map<std::string, WndClass> classes;  // key: upper-case name + "|" + pid
    std::map<HWND, std::shared_ptr<Window>> windows;
    bool refuseWindows = false;
    bool refuseThreads = false;
    bool refuseDialogs = false;
    unsigned modalReturnDelayMs = 0;
    // Files: key is the normalised upper-case path.
    struct FileEntry {
        std::string path;  // as added
        bool folder = false;
        std::string content;
    };
    std::map<std::string, FileEntry> files;
    std::map<std::string, World::ProgramMain> programs;  // by normalised path
    bool refuseProcesses = false;
    std::vector<World::ProcessStart> started;
    std::vector<World::ProcessStart> startRequests;
    UserHandler user;
    std::vector<ModalView> modals;
    std::vector<std::string> calls;
    HWND foreground = NULL;
};

State& S();

// The simulated thread the calling host thread runs as, or null.
Thread*& CurrentThread();
Process* CurrentProcess();

// Throws ProcessExit when the calling thread's process has ended (unless the thread is
// already unwinding, in which case the caller just carries on doing nothing harmful).
// Returns false when the process has ended.
bool CheckAlive(std::unique_lock<std::mutex>& lock);
bool CheckAliveUnlocked();
// Waits on the thread's condition variable until pred holds, the process ends, or the hang
// limit passes (a SimulationError naming what). Returns false when the process ended.
template <class Pred>
bool WaitFor(std::unique_lock<std::mutex>& lock, Thread* t, const char* what, Pred pred);

// Ends a process: records the code, wakes all its threads, destroys its windows.
void EndProcessLocked(Process* p, UINT code);
void WakeAllLocked();

std::string Upper(const std::string& s);
void SetLastErrorLocked(DWORD code);
std::shared_ptr<Window> FindWindowLocked(HWND hwnd);
HANDLE NewHandleLocked(Process* p, std::shared_ptr<KernelObject> obj);
std::shared_ptr<KernelObject> LookupHandleLocked(HANDLE h);

// Resolves a path as the file functions do: relative to the process's current folder, '/' as
// '\', trailing dots of every component and trailing blanks of the last one dropped; returns
// the upper-case key.
std::string NormalisePath(const std::string& path);

template <class Pred>
bool WaitFor(std::unique_lock<std::mutex>& lock, Thread* t, const char* what, Pred pred) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(S().hangLimitMs);
    for (;;) {
        if (!CheckAlive(lock)) return false;
        if (pred()) return true;
        if (t->cv.wait_until(lock, deadline) == std::cv_status::timeout) {
            if (!CheckAlive(lock)) return false;
            if (pred()) return true;
            throw SimulationError(std::string("simulated call waited too long: ") + what);
        }
    }
}

}  // namespace winsim
