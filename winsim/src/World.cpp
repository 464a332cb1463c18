// The world: simulated processes and threads, their ending, files, and what tests inspect.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <exception>

#include "State.h"

namespace winsim {

State& S() {
    static State state;
    return state;
}

Thread*& CurrentThread() {
    thread_local Thread* t = nullptr;
    return t;
}

Process* CurrentProcess() {
    Thread* t = CurrentThread();
    return t ? t->process : nullptr;
}

namespace {
std::vector<void (*)()>& ResetHooks() {
    static std::vector<void (*)()> hooks;
    return hooks;
}

std::vector<std::string>& Errors() {
    static std::vector<std::string> errors;
    return errors;
}
}  // namespace

bool CheckAlive(std::unique_lock<std::mutex>& lock) {
    Process* p = CurrentProcess();
    if (p == nullptr || !p->ended) return true;
    if (std::uncaught_exceptions() > 0) return false;
    UINT code = p->exitCode;
    lock.unlock();
    throw ProcessExit{code};
}

bool CheckAliveUnlocked() {
    std::unique_lock<std::mutex> lock(S().mu);
    return CheckAlive(lock);
}

void WakeAllLocked() {
    for (auto& t : S().allThreads) t->cv.notify_all();
}

void EndProcessLocked(Process* p, UINT code) {
    if (p->ended) return;
    p->ended = true;
    p->exitCode = code;
    // Its windows go with it, without messages.
    for (auto it = S().windows.begin(); it != S().windows.end();) {
        if (it->second->pid == p->pid) {
            if (S().foreground == it->first) S().foreground = NULL;
            it = S().windows.erase(it);
        } else {
            ++it;
        }
    }
    p->handles.clear();
    WakeAllLocked();
}

std::string Upper(const std::string& s) {
    std::string r(s);
    for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

void SetLastErrorLocked(DWORD code) {
    if (Thread* t = CurrentThread()) t->lastError = code;
}

std::shared_ptr<Window> FindWindowLocked(HWND hwnd) {
    auto it = S().windows.find(hwnd);
    return it == S().windows.end() ? nullptr : it->second;
}

HANDLE NewHandleLocked(Process* p, std::shared_ptr<KernelObject> obj) {
    HANDLE h = reinterpret_cast<HANDLE>(S().nextHandle);
    S().nextHandle += 4;
    p->handles[h] = std::move(obj);
    return h;
}

std::shared_ptr<KernelObject> LookupHandleLocked(HANDLE h) {
    Process* p = CurrentProcess();
    if (p == nullptr) return nullptr;
    auto it = p->handles.find(h);
    return it == p->handles.end() ? nullptr : it->second;
}

std::string NormalisePath(const std::string& path) {
    std::string p(path);
    std::replace(p.begin(), p.end(), '/', '\\');
    bool absolute = (p.size() >= 2 && p[1] == ':') || (p.size() >= 2 && p[0] == '\\' && p[1] == '\\');
    if (!absolute) {
        Process* proc = CurrentProcess();
        std::string base = proc ? proc->currentDir : "C:\\";
        if (!p.empty() && p[0] == '\\') {
            p = base.substr(0, 2) + p;
        } else {
            if (base.empty() || base.back() != '\\') base += '\\';
            p = base + p;
        }
    }
    // Split into components, resolving "." and "..", and drop the trailing blanks and dots that
    // the file functions ignore at the end of each component.
    std::vector<std::string> parts;
    std::string cur;
    auto flush = [&]() {
        while (!cur.empty() && (cur.back() == ' ' || cur.back() == '.')) {
            if (cur == "." || cur == "..") break;
            cur.pop_back();
        }
        if (cur == ".") {
        } else if (cur == "..") {
            if (parts.size() > 1) parts.pop_back();
        } else if (!cur.empty() || parts.empty()) {
            parts.push_back(cur);
        }
        cur.clear();
    };
    for (char c : p) {
        if (c == '\\') flush();
        else cur += c;
    }
    flush();
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += '\\';
        out += parts[i];
    }
    if (parts.size() == 1) out += '\\';  // a drive root
    return Upper(out);
}

World& World::Get() {
    static World world;
    return world;
}

void World::SetHangLimit(unsigned ms) {
    std::lock_guard<std::mutex> lock(S().mu);
    S().hangLimitMs = ms;
}

void World::Reset() {
    std::vector<std::shared_ptr<Thread>> threads;
    {
        std::lock_guard<std::mutex> lock(S().mu);
        for (auto& kv : S().processes) EndProcessLocked(kv.second.get(), 0);
        threads = S().allThreads;
    }
    for (auto& t : threads) {
        if (t->th.joinable()) t->th.join();
    }
    {
    std::lock_guard<std::mutex> lock(S().mu);
    S().processes.clear();
    S().allThreads.clear();
    S().classes.clear();
    S().windows.clear();
    S().files.clear();
    S().modals.clear();
    S().calls.clear();
    S().user = nullptr;
    S().refuseWindows = false;
    S().refuseThreads = false;
    S().refuseProcesses = false;
    S().refuseDialogs = false;
    S().modalReturnDelayMs = 0;
    S().programs.clear();
    S().started.clear();
    S().startRequests.clear();
    S().foreground = NULL;
    S().hangLimitMs = 10000;
    }
    for (auto hook : ResetHooks()) hook();
}

bool RegisterResetHook(void (*hook)()) {
    ResetHooks().push_back(hook);
    return true;
}

namespace {
std::string FolderOf(const std::string& path) {
    size_t k = path.rfind('\\');
    return k == std::string::npos ? path : path.substr(0, k);
}

std::shared_ptr<Process> NewProcessLocked(const World::ProcessOptions& options) {
    auto p = std::make_shared<Process>();
    p->pid = S().nextId;
    S().nextId += 4;
    p->imagePath = options.imagePath;
    p->commandLine = options.commandLine;
    p->currentDir = options.currentDir.empty() ? FolderOf(options.imagePath) : options.currentDir;
    if (p->currentDir.size() == 2 && p->currentDir[1] == ':') p->currentDir += '\\';
    p->resources = options.resources;
    S().processes[p->pid] = p;
    return p;
}

std::shared_ptr<Thread> NewThreadLocked(Process* p) {
    auto t = std::make_shared<Thread>();
    t->tid = S().nextId;
    S().nextId += 4;
    t->process = p;
    p->threads.push_back(t);
    S().allThreads.push_back(t);
    return t;
}

// Marks the thread finished; the end of a process's first thread ends the process, as the
// return from the program's main routine does.
void FinishThreadLocked(Thread* t, bool isMain, UINT code) {
    t->finished = true;
    t->exitCode = code;
    if (isMain) EndProcessLocked(t->process, code);
    WakeAllLocked();
}
}  // namespace

// Runs fn as simulated thread t; the thread's unwinding and failures end here.
void RunSimulatedThread(const std::shared_ptr<Thread>& t, bool isMain, const std::function<DWORD()>& fn) {
    CurrentThread() = t.get();
    DWORD code = 0;
    bool ended = false;
    try {
        code = fn();
    } catch (const ProcessExit& e) {
        code = e.code;
        ended = true;
    } catch (const std::exception& e) {
        std::lock_guard<std::mutex> lock(S().mu);
        Errors().push_back(std::string("simulated thread failed: ") + e.what());
        code = 0xDEAD;
    }
    std::lock_guard<std::mutex> lock(S().mu);
    FinishThreadLocked(t.get(), isMain && !ended, code);
    if (isMain && ended && !t->process->ended) EndProcessLocked(t->process, code);
    CurrentThread() = nullptr;
}

std::shared_ptr<Thread> StartThreadLocked(Process* p, std::function<DWORD()> fn, bool suspended) {
    auto t = NewThreadLocked(p);
    t->suspended = suspended;
    t->th = std::thread([t, fn]() {
        {
            std::unique_lock<std::mutex> lock(S().mu);
            while (t->suspended && !t->process->ended) t->cv.wait(lock);
            if (t->process->ended) {
                FinishThreadLocked(t.get(), false, t->process->exitCode);
                return;
            }
        }
        RunSimulatedThread(t, false, fn);
    });
    return t;
}

DWORD StartProcessLocked(const World::ProcessOptions& options, World::ProgramMain main) {
    auto p = NewProcessLocked(options);
    auto t = NewThreadLocked(p.get());
    t->th = std::thread([t, main]() { RunSimulatedThread(t, true, [&]() { return static_cast<DWORD>(main()); }); });
    return p->pid;
}

DWORD World::StartProcess(const ProcessOptions& options, ProgramMain main) {
    std::lock_guard<std::mutex> lock(S().mu);
    return StartProcessLocked(options, std::move(main));
}

bool World::WaitForExit(DWORD pid, unsigned timeoutMs, UINT* exitCode) {
    std::unique_lock<std::mutex> lock(S().mu);
    auto it = S().processes.find(pid);
    if (it == S().processes.end()) return false;
    std::shared_ptr<Process> p = it->second;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    // The process has ended once its code is known and all its threads have unwound.
    auto done = [&]() {
        if (!p->ended) return false;
        for (auto& t : p->threads) {
            if (!t->finished) return false;
        }
        return true;
    };
    // Threads signal through their own condition variables; poll those cheaply.
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        lock.lock();
    }
    if (exitCode) *exitCode = p->exitCode;
    return true;
}

bool World::ProcessEnded(DWORD pid) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto it = S().processes.find(pid);
    return it == S().processes.end() || it->second->ended;
}

void World::TerminateProcess(DWORD pid, UINT exitCode) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto it = S().processes.find(pid);
    if (it != S().processes.end()) EndProcessLocked(it->second.get(), exitCode);
}

World::ProcessScope::ProcessScope(const ProcessOptions& options) : m_pid(0), m_pPrevious(CurrentThread()) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto p = NewProcessLocked(options);
    p->attachedTestThread = true;
    auto t = NewThreadLocked(p.get());
    m_pid = p->pid;
    CurrentThread() = t.get();
}

World::ProcessScope::~ProcessScope() {
    std::lock_guard<std::mutex> lock(S().mu);
    Thread* t = CurrentThread();
    if (t != nullptr) {
        t->finished = true;
        EndProcessLocked(t->process, t->process->ended ? t->process->exitCode : 0);
    }
    CurrentThread() = static_cast<Thread*>(m_pPrevious);
}

namespace {
void FillView(const Window& w, WindowView* v);
}

std::vector<WindowView> World::Windows() {
    std::lock_guard<std::mutex> lock(S().mu);
    std::vector<std::shared_ptr<Window>> list;
    for (auto& kv : S().windows) list.push_back(kv.second);
    std::sort(list.begin(), list.end(), [](auto& a, auto& b) { return a->order < b->order; });
    std::vector<WindowView> out;
    for (auto& w : list) {
        WindowView v;
        FillView(*w, &v);
        out.push_back(v);
    }
    return out;
}

namespace {
void FillView(const Window& w, WindowView* v) {
    v->hwnd = w.hwnd;
    v->className = w.className;
    v->text = w.text;
    v->style = w.style;
    v->exStyle = w.exStyle;
    v->x = w.x;
    v->y = w.y;
    v->cx = w.cx;
    v->cy = w.cy;
    v->parent = w.parent;
    v->owner = w.owner;
    v->createdWith = w.createdWith;
    v->id = w.id;
    v->pid = w.pid;
    v->tid = w.thread ? w.thread->tid : 0;
    v->visible = (w.style & WS_VISIBLE) != 0;
    v->enabled = (w.style & WS_DISABLED) == 0;
    v->classStyle = w.classStyle;
}
}  // namespace

bool World::GetWindowView(HWND hwnd, WindowView* out) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto it = S().windows.find(hwnd);
    if (it == S().windows.end()) return false;
    FillView(*it->second, out);
    return true;
}

std::vector<UINT> World::PostedMessages(HWND hwnd) {
    std::lock_guard<std::mutex> lock(S().mu);
    std::vector<UINT> out;
    auto w = FindWindowLocked(hwnd);
    if (!w || !w->thread) return out;
    for (const MSG& m : w->thread->posted) {
        if (m.hwnd == hwnd) out.push_back(m.message);
    }
    return out;
}

void World::RefuseWindowCreation(bool refuse) {
    std::lock_guard<std::mutex> lock(S().mu);
    S().refuseWindows = refuse;
}

void World::RefuseDialogCreation(bool refuse) {
    std::lock_guard<std::mutex> lock(S().mu);
    S().refuseDialogs = refuse;
}

void World::DelayModalReturn(unsigned ms) {
    std::lock_guard<std::mutex> lock(S().mu);
    S().modalReturnDelayMs = ms;
}

void World::RefuseThreadCreation(bool refuse) {
    std::lock_guard<std::mutex> lock(S().mu);
    S().refuseThreads = refuse;
}

void World::AddFolder(const std::string& path) {
    std::lock_guard<std::mutex> lock(S().mu);
    std::string key = NormalisePath(path);
    // Every folder above it exists too.
    for (size_t k = key.find('\\', 3); k != std::string::npos; k = key.find('\\', k + 1)) {
        S().files[key.substr(0, k)] = State::FileEntry{key.substr(0, k), true, ""};
    }
    S().files[key] = State::FileEntry{path, true, ""};
}

void World::AddFile(const std::string& path, const std::string& content) {
    std::string key;
    {
        std::lock_guard<std::mutex> lock(S().mu);
        key = NormalisePath(path);
    }
    size_t k = key.rfind('\\');
    if (k != std::string::npos && k > 2) AddFolder(key.substr(0, k));
    std::lock_guard<std::mutex> lock(S().mu);
    S().files[key] = State::FileEntry{path, false, content};
}

void World::RemoveFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(S().mu);
    S().files.erase(NormalisePath(path));
}

bool World::FileExists(const std::string& path) {
    std::lock_guard<std::mutex> lock(S().mu);
    return S().files.count(NormalisePath(path)) != 0;
}

void World::SetUser(UserHandler handler) {
    std::lock_guard<std::mutex> lock(S().mu);
    S().user = std::move(handler);
}

std::vector<ModalView> World::ShownModals() {
    std::lock_guard<std::mutex> lock(S().mu);
    return S().modals;
}

std::vector<std::string> World::Calls() {
    std::lock_guard<std::mutex> lock(S().mu);
    return S().calls;
}

std::vector<std::string> World::SimulationErrors() {
    std::lock_guard<std::mutex> lock(S().mu);
    std::vector<std::string> errors;
    errors.swap(Errors());
    return errors;
}

void World::RecordCall(const std::string& call) {
    std::lock_guard<std::mutex> lock(S().mu);
    S().calls.push_back(call);
}

LPSTR CommandTail(LPSTR lpCommandLine) {
    char* p = lpCommandLine;
    bool inQuote = false;
    while (static_cast<unsigned char>(*p) > ' ' || (*p != '\0' && inQuote)) {
        if (*p == '"') inQuote = !inQuote;
        ++p;
    }
    while (*p != '\0' && static_cast<unsigned char>(*p) <= ' ') ++p;
    return p;
}

}  // namespace winsim
