// CServicesDlg: the Services applet, a modal dialog with two owner-drawn icon buttons,
// "&Remove Services" (setup in uninstall mode) and "&Quit Applet".
#pragma once

#include "Framework.h"
#include "resource.h"

// The modal result with which a launch from the applet ends it: distinct from IDOK (which the
// dialog keyboard interface sends for Enter) and from -1 (the dialog could not be created), so
// that only a real launch keeps the run alive after the dialog.
const int SERVICES_RESULT_LAUNCHED = 0x4C41;

class CServicesDlg : public CDialog {
public:
    enum { IDD = IDD_SERVICES };

    explicit CServicesDlg(CWnd* pParent = NULL);
    ~CServicesDlg() override;

    HICON m_hIcon;  // IDI_SETUP: window icon, minimised picture and drag cursor

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

public:
    // Painting (ServicesDlgPaint.cpp).
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    DECLARE_MESSAGE_MAP()
};
