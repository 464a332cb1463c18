// CDialog: the modal run through the system's dialog manager, and the dialog procedure that
// routes the dialog's messages to the dialog object.
#include "Dialog.h"

#include "WinApp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd), m_bDefault(false) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    HWND hParent = NULL;
    if (m_pParentWnd != nullptr) {
        hParent = m_pParentWnd->m_hWnd;
    } else if (CWinApp* pApp = AfxGetApp()) {
        if (pApp->m_pMainWnd != nullptr) hParent = pApp->m_pMainWnd->m_hWnd;
    }
    INT_PTR nResult = DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hParent,
                                      AfxDlgProc, reinterpret_cast<LPARAM>(this));
    if (m_hWnd != NULL) Detach();
    return nResult;
}

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM) {
    m_bDefault = true;
    return 0;
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
        pDlg->Attach(hWnd);
        return pDlg->OnInitDialog();
    }
    CDialog* pDlg = static_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    if (pDlg == nullptr) return FALSE;
    // Messages can nest (a command handler shows a message box, which disables the dialog):
    // each keeps its own default flag.
    bool bOuterDefault = pDlg->m_bDefault;
    pDlg->m_bDefault = false;
    LRESULT lResult = AfxCallWndProc(pDlg, hWnd, message, wParam, lParam);
    bool bDefault = pDlg->m_bDefault;
    pDlg->m_bDefault = bOuterDefault;
    if (bDefault || message == WM_NCDESTROY) return FALSE;
    // These few messages return their result directly; all others through DWLP_MSGRESULT.
    if (message == WM_QUERYDRAGICON) return static_cast<INT_PTR>(lResult);
    SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}
