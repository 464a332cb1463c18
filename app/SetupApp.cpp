// CSetupApp: start-up, choice of the run mode, and shut-down.
#include "SetupApp.h"

#include "LauncherWnd.h"

BEGIN_MESSAGE_MAP(CSetupApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CSetupApp::CSetupApp() : CWinApp(NULL), m_pLauncherWnd(nullptr), m_pServicesDlg(nullptr) {}

CSetupApp::~CSetupApp() = default;

BOOL CSetupApp::InitInstance() {
    Enable3dControlsStatic();

    if (!CheckPlatform()) return FALSE;

    m_pLauncherWnd = new CLauncherWnd;
    m_pMainWnd = m_pLauncherWnd;
    {
        CString strClass = AfxRegisterWndClass(CS_PARENTDC, NULL, NULL, NULL);
        // Without the hidden window nothing could ever end the message loop, so a failed
        // creation ends start-up instead.
        if (!m_pLauncherWnd->CreateEx(0, strClass, "", WS_POPUP, 0, 0, 10, 10, GetDesktopWindow(),
                                      NULL, NULL)) {
            return FALSE;
        }
    }

    SetSetupDirFromModule();

    if (lstrcmpiA(m_lpCmdLine, "-showdialog") == 0) {
        ShowServicesDialog();
    } else {
        RunSetup(CString(m_lpCmdLine));
    }
    return TRUE;
}

int CSetupApp::ExitInstance() {
    if (m_pLauncherWnd != nullptr) {
        delete m_pLauncherWnd;
        m_pLauncherWnd = nullptr;
    }
    return CWinApp::ExitInstance();
}
