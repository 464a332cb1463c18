// CLauncherWnd: the launcher's hidden main window. It keeps the message loop alive, owns the
// dialogs opened without a parent, and ends the run when ID_LAUNCHER_QUIT arrives.
#pragma once

#include "Framework.h"

class CLauncherWnd : public CWnd {
public:
    CLauncherWnd() = default;
    ~CLauncherWnd() override = default;

    // Destroys the window when wParam is exactly ID_LAUNCHER_QUIT (command 666, notification
    // code 0), then routes the command as usual.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // WM_LAUNCHER_FINISH: finishes the run on this (the user-interface) thread.
    LRESULT OnLauncherFinish(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
