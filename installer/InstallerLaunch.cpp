// Starting the installer: the completion event, the command line, the process, and the hand-
// over to the completion watch.
#include "CompletionWatch.h"
#include "InstallerCommandLine.h"
#include "ServicesDlg.h"
#include "SetupApp.h"
#include "SetupScript.h"

namespace {
// Releases a launcher of an earlier run still waiting on the event, then creates the event
// for this run. The handle from the creation is never closed: it keeps the event alive until
// this process ends.
void ReadyCompletionEvent() {
    CHandle existing(OpenEventA(EVENT_ALL_ACCESS, FALSE, SETUP_COMPLETE_EVENT));
    if (existing.IsValid()) {
        SetEvent(existing.Get());
        existing.Close();
        Sleep(10);
    }
    CreateEventA(NULL, FALSE, FALSE, SETUP_COMPLETE_EVENT);
}
}  // namespace

void CSetupApp::LaunchInstaller(const CString& strArgs) {
    ReadyCompletionEvent();

    STARTUPINFOA si;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;

    CString strInstaller = m_strSetupDir + "\\" + INSTALLER_FILE_NAME;

    CString strScriptText, strScriptFolder, strScriptName;
    if (ScanScriptSwitch(strArgs, strScriptText) != -1) SplitScriptPath(strScriptText, strScriptFolder, strScriptName);
    CSetupScript script(strScriptFolder, strScriptName);

    INSTALLER_SCRIPT_ANSWERS answers;
    // The script's Uninstall key is consulted only when the arguments do not ask already.
    answers.nUninstall = strArgs.Find(UNINSTALL_SWITCH) == -1 ? script.ReadBool("Setup", "Uninstall", 0) : 0;
    answers.nUserInterface = script.m_nUserInterface;
    answers.nSms = script.ReadBool("Setup", "SMS", 0);
    CString strCmdLine = ComposeInstallerCommandLine(strInstaller, strArgs, answers);

    // The installer's own path is passed as the program to start, so that no prefix of a path
    // with blanks in it can be taken for a program.
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof pi);
    BOOL bStarted = CreateProcessA(strInstaller, strCmdLine.GetBuffer(strCmdLine.GetLength()), NULL, NULL, FALSE,
                                   0, NULL, NULL, &si, &pi);
    strCmdLine.ReleaseBuffer();
    if (bStarted) {
        // The launcher never waits on the installer's process: only on its completion event.
        CHandle process(pi.hProcess), thread(pi.hThread);
        if (m_pServicesDlg != nullptr) m_pServicesDlg->EndDialog(SERVICES_RESULT_LAUNCHED);
        // Without the completion watch nothing would end the run: end it now; the installer
        // runs on.
        if (AfxBeginThread(fnWorkerThread, this, THREAD_PRIORITY_NORMAL, 0, 0, NULL) == nullptr) FinishSetup();
        return;
    }

    if (script.m_nUserInterface != UI_HIDDEN) {
        CString strText, strCaption;
        strText.LoadString(IDS_LAUNCH_FAILED);
        strCaption.LoadString(IDS_ERROR_TITLE);
        MessageBoxA(GetActiveWindow(), strText, strCaption, MB_OK | MB_ICONEXCLAMATION);
    }
    FinishSetup();
}
