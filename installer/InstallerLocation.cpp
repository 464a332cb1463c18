// Locating the installer: the setup folder, the running-installer check, the presence test,
// the folder browser, and RunSetup, the one entry point of every setup request.
#include "ServicesDlg.h"
#include "SetupApp.h"

// After <windows.h> (through the headers above), which the common dialogs' header needs.
#include <commdlg.h>

namespace {
// The size field of the file-open record in its first form, which the launcher fills.
const DWORD OPENFILENAME_FIRST_FORM_SIZE = 76;

// The folder part of a path: the text before its last backslash (the whole text without one).
CString CutAtLastBackslash(const CString& strPath) {
    int nSlash = strPath.ReverseFind('\\');
    return nSlash == -1 ? strPath : strPath.Left(nSlash);
}

// The owner of this part's boxes and browse dialog: the Services dialog while it shows, else
// the hidden main window, else none.
CWnd* OwnerWindow(CSetupApp* pApp) {
    if (pApp->m_pServicesDlg != nullptr) return pApp->m_pServicesDlg;
    return pApp->m_pMainWnd;
}

int ShowBox(CWnd* pOwner, UINT nText, UINT nCaption, UINT nType) {
    CString strText, strCaption;
    strText.LoadString(nText);
    strCaption.LoadString(nCaption);
    return MessageBoxA(pOwner != nullptr ? pOwner->m_hWnd : NULL, strText, strCaption, nType);
}
}  // namespace

void CSetupApp::SetSetupDirFromModule() {
    char szPath[MAX_PATH + 1] = "";
    GetModuleFileNameA(NULL, szPath, MAX_PATH + 1);
    m_strSetupDir = CutAtLastBackslash(szPath);
}

int CSetupApp::InstallerPresent() {
    CString strPath = m_strSetupDir + "\\" + INSTALLER_FILE_NAME;
    return GetFileAttributesA(strPath) != INVALID_FILE_ATTRIBUTES ? 1 : 0;
}

int CSetupApp::BrowseForInstaller() {
    char szFile[MAX_PATH + 1] = INSTALLER_FILE_NAME;
    CWnd* pOwner = OwnerWindow(this);

    OPENFILENAMEA ofn;
    ZeroMemory(&ofn, sizeof ofn);
    ofn.lStructSize = OPENFILENAME_FIRST_FORM_SIZE;
    ofn.hwndOwner = pOwner != nullptr ? pOwner->m_hWnd : NULL;
    ofn.hInstance = AfxGetInstanceHandle();
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = m_strSetupDir;
    ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLETEMPLATE | OFN_NONETWORKBUTTON;
    ofn.lpTemplateName = "BROWSEFORSETUP";

    int nResult = GetOpenFileNameA(&ofn);
    if (nResult != 0) {
        // The layout hides the file name, so the preset name comes back behind the folder.
        m_strSetupDir = CutAtLastBackslash(szFile);
    } else {
        CommDlgExtendedError();
    }
    return nResult;
}

void CSetupApp::RunSetup(const CString& strArgs) {
    HWND hInstaller = FindWindowExA(NULL, NULL, INSTALLER_WINDOW_CLASS, NULL);
    if (IsWindow(hInstaller)) {
        ShowBox(OwnerWindow(this), IDS_SETUP_RUNNING, IDS_SETUP_TITLE_RUNNING, MB_OK | MB_ICONEXCLAMATION);
        SetForegroundWindow(hInstaller);
        ShowWindow(hInstaller, SW_RESTORE);
        SetActiveWindow(hInstaller);
        FinishSetup();
        return;
    }

    BOOL bLaunched = FALSE;
    BOOL bAgain = FALSE;
    do {
        if (InstallerPresent()) {
            LaunchInstaller(strArgs);
            bLaunched = TRUE;
            bAgain = FALSE;
        } else if (ShowBox(OwnerWindow(this), IDS_INSTALLER_NOT_FOUND, IDS_SETUP_TITLE,
                           MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
            bAgain = BrowseForInstaller();
        } else {
            bAgain = FALSE;
        }
    } while (bAgain);

    // A launch ends the run on its own (failed start) or through the completion watch; a user
    // who gives up in the applet goes back to it.
    if (!bLaunched && m_pServicesDlg == nullptr) FinishSetup();
}
