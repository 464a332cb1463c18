// CServicesDlg: construction, initialisation (window icons, button images) and commands.
#include "ServicesDlg.h"

#include "SetupApp.h"

BEGIN_MESSAGE_MAP(CServicesDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

namespace {
// Button images, set in this order.
const struct {
    int nIDCtl;
    int nIDIcon;
} kButtonImages[] = {
    {IDC_SETUP_SERVICES, IDI_SETUP_SERVICES},
    {IDC_REMOVE_SERVICES, IDI_REMOVE_SERVICES},
    {IDCANCEL, IDI_QUIT},
};
}  // namespace

CServicesDlg::CServicesDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    m_hIcon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_SETUP));
}

CServicesDlg::~CServicesDlg() = default;

void CServicesDlg::DoDataExchange(CDataExchange*) {}

BOOL CServicesDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    for (const auto& row : kButtonImages) {
        HICON hIcon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(row.nIDIcon));
        SendDlgItemMessageA(m_hWnd, row.nIDCtl, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon));
    }
    return TRUE;
}

BOOL CServicesDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Every notification a control sends with one of these ids counts.
    switch (LOWORD(wParam)) {
    case IDC_SETUP_SERVICES:
        if (CSetupApp* pApp = static_cast<CSetupApp*>(AfxGetApp())) pApp->RunSetup("");
        break;
    case IDC_REMOVE_SERVICES:
        if (CSetupApp* pApp = static_cast<CSetupApp*>(AfxGetApp())) pApp->RunSetup("-uninstall");
        break;
    default:
        break;
    }
    return CDialog::OnCommand(wParam, lParam);
}
