// The Services applet's life: shown once per desktop, and the run ended unless an installer
// was started from it.
#include "ServicesDlg.h"
#include "SetupApp.h"

void CSetupApp::ShowServicesDialog() {
    BOOL bFinish = TRUE;
    CString strTitle;
    strTitle.LoadString(IDS_SERVICES_TITLE);

    HWND hOther = FindWindowExA(NULL, NULL, "#32770", strTitle);
    if (IsWindow(hOther)) {
        SetForegroundWindow(hOther);
    } else {
        CServicesDlg dlg(NULL);
        m_pServicesDlg = &dlg;
        INT_PTR nResult = dlg.DoModal();
        m_pServicesDlg = nullptr;
        // Only a launch keeps the run going; Quit, Esc, the close box, Enter, a dialog that
        // could not be created and a finish while it showed all end it.
        if (nResult == SERVICES_RESULT_LAUNCHED) bFinish = FALSE;
    }
    if (bFinish) FinishSetup();
}
