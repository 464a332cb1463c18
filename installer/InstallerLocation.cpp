// Locating the installer: the setup folder and the one entry point of every setup request.
#include "SetupApp.h"

void CSetupApp::SetSetupDirFromModule() {
    char szPath[MAX_PATH + 1] = "";
    GetModuleFileNameA(NULL, szPath, MAX_PATH + 1);
    CString strPath(szPath);
    int nSlash = strPath.ReverseFind('\\');
    m_strSetupDir = nSlash == -1 ? strPath : strPath.Left(nSlash);
}

// Provisional: looks for a running installer and ends the run, until locating and launching
// the installer are built.
void CSetupApp::RunSetup(const CString& /*strArgs*/) {
    IsWindow(FindWindowExA(NULL, NULL, "InstallShield_Win", NULL));
    FinishSetup();
}
