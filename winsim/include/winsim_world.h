// The simulated machine behind winsim's Win32: processes and threads, windows and message
// queues, files, resources and the scripted user. Tests set it up, drive it and inspect it;
// it is reset between tests.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace winsim {

class ResourceFile;

// Thrown inside a simulated thread whose process has ended (ExitProcess, or the end of its
// main thread), to unwind it; caught at the simulated thread's entry. Launcher code never
// catches it.
struct ProcessExit {
    UINT code;
};

// Raised when a simulated blocking call waits longer than the world's hang limit, or when a
// modal element appears that no scripted answer handles: the test fails with the message
// instead of hanging.
class SimulationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a test sees of a window.
struct WindowView {
    HWND hwnd = NULL;
    std::string className;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    HWND parent = NULL;         // for child windows
    HWND owner = NULL;          // for top-level windows, as GetWindow(GW_OWNER) reports it
    HWND createdWith = NULL;    // the hWndParent passed to CreateWindowExA
    int id = 0;                 // control id of a child window
    DWORD pid = 0, tid = 0;
    bool visible = false;
    bool enabled = true;
    UINT classStyle = 0;
};

// A modal element shown to the scripted user, and the user's answer.
struct ModalView {
    enum Kind { kMessageBox, kOpenFile, kDialog } kind = kMessageBox;
    DWORD pid = 0;
    HWND owner = NULL;
    std::string text;     // message box text
    std::string caption;  // message box caption, or dialog title
    UINT style = 0;       // message box style
    HWND hwnd = NULL;     // the dialog window (kDialog)
    LPVOID record = NULL; // the OPENFILENAMEA (kOpenFile)
};

struct UserAnswer {
    int button = 0;             // message box: IDOK, IDYES, ...; 0 presses the default
    bool cancel = false;        // file-open dialog: cancel
    std::string path;           // file-open dialog: the full path confirmed
    std::function<void()> act;  // dialog: what the user does while it shows (runs on its thread)
};

using UserHandler = std::function<UserAnswer(const ModalView&)>;

class World {
public:
    static World& Get();

    // Ends every simulated process, waits for their threads and clears all state.
    void Reset();

    // Longest time a simulated blocking call may wait before the test fails (milliseconds).
    void SetHangLimit(unsigned ms);

    // Processes.
    using ProgramMain = std::function<int()>;
    struct ProcessOptions {
        std::string imagePath;                           // e.g. "C:\\MEDIA\\setup.exe"
        std::string commandLine;                         // whole command line, program name first
        std::string currentDir;                          // defaults to the image's folder
        std::shared_ptr<const ResourceFile> resources;   // the module's resources, if any
    };
    // Starts a simulated process whose first thread runs main; returns its id.
    DWORD StartProcess(const ProcessOptions& options, ProgramMain main);
    // Waits for the process to end; false when it is still running after timeoutMs.
    bool WaitForExit(DWORD pid, unsigned timeoutMs, UINT* exitCode = nullptr);
    bool ProcessEnded(DWORD pid);
    // Ends a process from outside, as a task manager would.
    void TerminateProcess(DWORD pid, UINT exitCode);
    // Binds the calling (test) thread to a new simulated process until the scope ends.
    class ProcessScope {
    public:
        explicit ProcessScope(const ProcessOptions& options);
        ~ProcessScope();
        DWORD pid() const { return m_pid; }
        ProcessScope(const ProcessScope&) = delete;
        ProcessScope& operator=(const ProcessScope&) = delete;

    private:
        DWORD m_pid;
        void* m_pPrevious;
    };

    // Programs that CreateProcessA can start: the file at path (added to the files) runs main
    // as a new simulated process. A file without a program fails to start.
    void InstallProgram(const std::string& path, ProgramMain main);
    // Fault injection: CreateProcessA fails while set.
    void RefuseProcessCreation(bool refuse);
    // What CreateProcessA started, in order.
    struct ProcessStart {
        std::string applicationName;  // as passed ("" for none)
        std::string commandLine;      // as passed
        std::string imagePath;        // the program that ran
        std::string currentDir;       // where it runs
        DWORD pid = 0;
    };
    std::vector<ProcessStart> Started();
    // Every CreateProcessA call, started or not: application name and command line.
    std::vector<ProcessStart> StartRequests();

    // Named events seen from outside any process (the test's own hand).
    bool SetNamedEvent(const std::string& name);  // false when no such event exists
    bool NamedEventExists(const std::string& name);
    // How many threads of a process are blocked in WaitForSingleObject right now.
    int ThreadsWaiting(DWORD pid);
    // Waits until pred holds (checked whenever the world changes, and at least every
    // millisecond); false after timeoutMs.
    bool WaitUntil(const std::function<bool()>& pred, unsigned timeoutMs = 5000);

    // Windows.
    std::vector<WindowView> Windows();  // live windows, in creation order
    bool GetWindowView(HWND hwnd, WindowView* out);
    std::vector<UINT> PostedMessages(HWND hwnd);  // messages waiting for a window
    // Fault injection: CreateWindowExA fails while set.
    void RefuseWindowCreation(bool refuse);
    // Fault injection: dialogs cannot be created from templates while set.
    void RefuseDialogCreation(bool refuse);
    // Widens the moment between a modal dialog's end and its return to the caller: the modal
    // run waits this long before it destroys the dialog.
    void DelayModalReturn(unsigned ms);
    // Fault injection: CreateThread fails while set.
    void RefuseThreadCreation(bool refuse);

    // Files and folders. Paths are full Windows paths; comparisons ignore case.
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, const std::string& content = "");
    void RemoveFile(const std::string& path);
    bool FileExists(const std::string& path);

    // The scripted user, who answers every modal element the simulated programs show.
    void SetUser(UserHandler handler);
    std::vector<ModalView> ShownModals();  // everything shown so far, in order

    // A record of notable calls, in order ("SetForegroundWindow", "ExitWindowsEx", ...).
    std::vector<std::string> Calls();
    void RecordCall(const std::string& call);

    // Failures inside simulated threads (hangs, unexpected exceptions), in order; each is
    // reported once.
    std::vector<std::string> SimulationErrors();

private:
    World() = default;
};

// Parts of winsim that keep state of their own register a function that clears it; Reset
// calls each one.
bool RegisterResetHook(void (*hook)());

// The text after the program name and the blanks that follow it, as the C run-time start-up
// hands it to WinMain: a quoted program name ends at its closing quote, an unquoted one at the
// first blank or control character.
LPSTR CommandTail(LPSTR lpCommandLine);

}  // namespace winsim
