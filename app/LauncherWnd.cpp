// CLauncherWnd: the quit command, and finishing handed over from the worker thread.
#include "LauncherWnd.h"

#include "SetupApp.h"

BEGIN_MESSAGE_MAP(CLauncherWnd, CWnd)
    ON_MESSAGE(WM_LAUNCHER_FINISH, OnLauncherFinish)
END_MESSAGE_MAP()

BOOL CLauncherWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (wParam == ID_LAUNCHER_QUIT) DestroyWindow();
    return CWnd::OnCommand(wParam, lParam);
}

LRESULT CLauncherWnd::OnLauncherFinish(WPARAM, LPARAM) {
    if (CSetupApp* pApp = static_cast<CSetupApp*>(AfxGetApp())) pApp->FinishSetup();
    return 0;
}
