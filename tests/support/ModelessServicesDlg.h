// A Services dialog made modelessly from its template, through the class library's dialog
// procedure, so that its initialisation stores the buttons' icons: for tests that drive its
// painting directly, on winsim and under Wine alike.
#pragma once

#include <windows.h>

#include <memory>

#include "ServicesDlg.h"

namespace test {

class ModelessServicesDlg {
public:
    // Creates the dialog; false when it or one of its two buttons is missing.
    bool Create() {
        dlg.reset(new CServicesDlg(NULL));
        hDlg = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(CServicesDlg::IDD), NULL, AfxDlgProc,
                                  reinterpret_cast<LPARAM>(dlg.get()));
        if (hDlg == NULL) return false;
        hRemove = GetDlgItem(hDlg, IDC_REMOVE_SERVICES);
        hQuit = GetDlgItem(hDlg, IDCANCEL);
        return hRemove != NULL && hQuit != NULL;
    }
    // The window goes while the whole dialog object still exists to handle its last messages.
    void Destroy() {
        if (dlg && dlg->m_hWnd != NULL) DestroyWindow(dlg->m_hWnd);
        dlg.reset();
    }
    ~ModelessServicesDlg() { Destroy(); }

    std::unique_ptr<CServicesDlg> dlg;
    HWND hDlg = NULL;
    HWND hRemove = NULL;
    HWND hQuit = NULL;
};

}  // namespace test
