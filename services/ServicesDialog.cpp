// The Services applet's life: showing it once per desktop and acting on how it ended.
#include "SetupApp.h"
#include "resource.h"

// Provisional: looks for a showing Services dialog and ends the run, until the Services
// dialog is built.
void CSetupApp::ShowServicesDialog() {
    CString strTitle;
    strTitle.LoadString(IDS_SERVICES_TITLE);
    IsWindow(FindWindowExA(NULL, NULL, "#32770", strTitle));
    FinishSetup();
}

// Provisional: no Services dialog exists until it is built.
void CSetupApp::EndServicesDialog(int /*nResult*/) {}
