// CSetupApp: the launcher's application object and the run state that every part of the
// launcher shares; the chief header of the launcher.
#pragma once

#include "Framework.h"

class CLauncherWnd;
class CServicesDlg;

// The command that ends a run: posted to the hidden main window, whose handler destroys it.
const UINT ID_LAUNCHER_QUIT = 666;

// Posted to the hidden main window by FinishSetup on a thread other than the user-interface
// thread: the run is finished there.
const UINT WM_LAUNCHER_FINISH = WM_APP + 1;

// The installer engine's program, in the setup folder.
#define INSTALLER_FILE_NAME "ishield.app"
// Window class of a running installer engine.
#define INSTALLER_WINDOW_CLASS "InstallShield_Win"

// Name of the event the installer sets when it has finished.
#define SETUP_COMPLETE_EVENT "KVQ_ORLOSETUPCOMPLETE"

class CSetupApp : public CWinApp {
public:
    CSetupApp();
    ~CSetupApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // Platform gate: TRUE when the launcher may go on on this machine; FALSE after it has told
    // the user why not (or asked Windows to restart).
    BOOL CheckPlatform();
    // TRUE when the access token of this process lists the local Administrators group among
    // its groups, whatever the group's attributes. FALSE when it does not, or when the token,
    // its groups or the group's identifier cannot be had.
    BOOL IsAdministrator();

    // Sets m_strSetupDir to the folder of the launcher's own program file.
    void SetSetupDirFromModule();
    // The one entry point of every setup request: refuses a second installer, locates the
    // installer (asking the user when it is missing) and launches it, or ends the run.
    void RunSetup(const CString& strArgs);
    // Shows the Services applet, unless one is already showing; ends the run unless an
    // installer was started from it.
    void ShowServicesDialog();
    // Ends the run: at once with exit code 1 when the launcher's own file has vanished, else by
    // ending a showing Services dialog, else by posting ID_LAUNCHER_QUIT to the main window.
    // Callable from any thread.
    void FinishSetup();

    // Whether the installer program is in the setup folder (1) or not (0).
    int InstallerPresent();
    // Lets the user pick the installer's folder; nonzero when a folder was confirmed and
    // m_strSetupDir replaced by it.
    int BrowseForInstaller();
    // Readies the completion event, starts the installer with its composed command line and
    // starts the completion watch; reports a failed start and ends the run.
    void LaunchInstaller(const CString& strArgs);

    CString m_strSetupDir;         // folder of the installer program, no trailing backslash
    CLauncherWnd* m_pLauncherWnd;  // the hidden main window (owned)
    CServicesDlg* m_pServicesDlg;  // the Services dialog while its modal loop runs, else NULL

    DECLARE_MESSAGE_MAP()
};
