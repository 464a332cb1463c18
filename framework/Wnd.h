// CWnd: a window object bound to a system window, with message-map dispatch, and the
// window procedure that connects the two.
#pragma once

#include "CString.h"
#include "CmdTarget.h"

class CWnd : public CCmdTarget {
public:
    CWnd();
    // Destroys the system window if it still exists.
    ~CWnd() override;

    HWND m_hWnd;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Creates the system window for this object and binds it; FALSE when creation failed.
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                  int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                  LPVOID lpParam = NULL);
    // Destroys the system window. When it is the application's main window, the class
    // library posts WM_QUIT with code 0 and clears the main-window pointer.
    virtual BOOL DestroyWindow();

    // The window object for a handle: the bound object, or a temporary one kept by the
    // library; NULL for a NULL handle.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWnd);
    HWND Detach();

    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = NULL, UINT nType = MB_OK);
    CWnd* GetDlgItem(int nID) const;
    void GetWindowText(CString& rString) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL IsIconic() const;
    void GetClientRect(LPRECT lpRect) const;

    // The window's message handling: the message map first, else the default handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Routes WM_COMMAND through the message map; TRUE when a handler ran.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Default handling of the message being processed.
    LRESULT Default();
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the system window has gone; the default does nothing.
    virtual void PostNcDestroy();

protected:
    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

    friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    friend class CDialog;

private:
    void OnNcDestroy();
    // The message being handled, for Default().
    MSG m_msgCur;
};

// The window procedure of every window class the library registers.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// Registers (once) and names a window class with AfxWndProc as its procedure, the given class
// style, cursor, background brush and icon. The name is derived from the module's instance
// handle and those values, so equal requests share one class.
LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = NULL, HBRUSH hbrBackground = NULL,
                           HICON hIcon = NULL);
