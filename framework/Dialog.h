// CDialog: a modal dialog built from a template of the program's resources, whose messages go
// through the message maps like any window's.
#pragma once

#include "Wnd.h"

class CDialog;

// What DoDataExchange is given: the direction of the exchange and the dialog.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    ~CDialog() override;

    // Runs the dialog modally and returns its result once the system window is gone; -1 when
    // the dialog could not be created. Without a parent, the application's main window owns
    // the dialog and is disabled while it runs.
    virtual INT_PTR DoModal();
    // Ends the modal run with nResult after the current message.
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
    // Messages the dialog leaves to the default handling go back to the dialog manager.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    bool m_bDefault;  // the message being handled went to the default handling
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
