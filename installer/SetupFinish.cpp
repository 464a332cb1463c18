// Ending a run: every way a run ends after start-up passes through FinishSetup.
#include "Handle.h"
#include "LauncherWnd.h"
#include "ServicesDlg.h"
#include "SetupApp.h"

// FinishSetup may be called on the user-interface thread (nothing was launched, or the launch
// failed) or on the completion watch's worker thread. The Services dialog and the main-window
// pointer belong to the user-interface thread: a dialog ended or read from the worker could be
// one that is closing or already destroyed. So the worker decides only what needs no shared
// state (the vanished program file ends the process at once, on any thread) and hands the rest
// to the user-interface thread as WM_LAUNCHER_FINISH to the hidden window. That message is
// handled by the thread's own message loop, which runs only after a Services dialog's modal
// loop has returned and its pointer has been cleared, so the dialog is never touched from
// another thread and the quit command follows once the dialog is gone.
void CSetupApp::FinishSetup() {
    char szPath[MAX_PATH + 1] = "";
    GetModuleFileNameA(AfxGetInstanceHandle(), szPath, MAX_PATH + 1);
    if (GetFileAttributesA(szPath) == INVALID_FILE_ATTRIBUTES) ExitProcess(1);

    if (GetCurrentThreadId() != m_nThreadID) {
        if (m_pLauncherWnd != nullptr) PostMessageA(m_pLauncherWnd->m_hWnd, WM_LAUNCHER_FINISH, 0, 0);
        return;
    }
    if (m_pServicesDlg != nullptr) {
        m_pServicesDlg->EndDialog(IDCANCEL);
    } else if (m_pMainWnd != nullptr) {
        PostMessageA(m_pMainWnd->m_hWnd, WM_COMMAND, ID_LAUNCHER_QUIT, 0);
    }
}
