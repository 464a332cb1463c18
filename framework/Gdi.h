// CDC, CPaintDC, CPen, CBrush and CDCSelection: device contexts and drawing objects.
// CPen and CBrush own their object and delete it when destroyed. CDC borrows a context
// (Attach/Detach) and never releases or deletes it; CPaintDC opens a window's pending paint
// and ends it when destroyed. CDCSelection puts back, on every way out, the pen or brush a
// selection displaced, so that no object is deleted while still selected.
#pragma once

#include <windows.h>

#include "CString.h"

class CWnd;

// Raised when the system cannot create a drawing object.
class CResourceException {};
[[noreturn]] void AfxThrowResourceException();

class CGdiObject {
public:
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    // Deletes the object held, if any.
    ~CGdiObject() { DeleteObject(); }

    HGDIOBJ m_hObject;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Deletes the object held; FALSE when there was none or the system refused (it is still
    // selected into a context). The handle is let go of either way.
    BOOL DeleteObject();

protected:
    CGdiObject() : m_hObject(NULL) {}
    // Takes ownership of h, deleting the object held before.
    void Attach(HGDIOBJ h);
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    // Makes the pen; raises CResourceException when the system cannot.
    CPen(int nPenStyle, int nWidth, COLORREF crColor);
    // Makes the pen, replacing (and deleting) the one held; FALSE when the system cannot.
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    // Makes a solid brush; raises CResourceException when the system cannot.
    explicit CBrush(COLORREF crColor);
    // Makes a solid brush, replacing (and deleting) the one held; FALSE when the system cannot.
    BOOL CreateSolidBrush(COLORREF crColor);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CDC {
public:
    CDC() : m_hDC(NULL) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    // Lets go of an attached context without releasing it: the context belongs to whoever
    // handed it over.
    virtual ~CDC() = default;

    HDC m_hDC;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    // Borrows hDC; FALSE (nothing changed) for NULL or while another context is attached.
    BOOL Attach(HDC hDC);
    // Lets go of the context and returns it, unreleased.
    HDC Detach();

    // Select a pen or brush; each returns the handle of the object it displaced, for putting
    // back, or NULL when the selection failed.
    HPEN SelectObject(CPen* pPen);
    HBRUSH SelectObject(CBrush* pBrush);
    HGDIOBJ SelectObject(HGDIOBJ hObject);

    // Outline in the current pen on the outermost pixels (right and bottom excluded), inside
    // in the current brush.
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    void FrameRect(LPCRECT lpRect, CBrush* pBrush);
    void DrawFocusRect(LPCRECT lpRect);
    // Moves the current position; returns the one before.
    POINT MoveTo(int x, int y);
    // A line in the current pen from the current position up to (not including) x, y, which
    // becomes the current position.
    BOOL LineTo(int x, int y);
    BOOL DrawIcon(int x, int y, HICON hIcon);
    // Returns the height of the text drawn.
    int DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat);
    // Width and height of the text in the current font; both 0 when they cannot be measured.
    SIZE GetTextExtent(LPCSTR lpszString, int nCount) const;
    SIZE GetTextExtent(const CString& str) const;
};

// The context for a window's pending paint, from construction (BeginPaint) to destruction
// (EndPaint).
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};

// Selects a pen or brush into a context for a scope; Restore, or destruction, puts back the
// object the selection displaced. Further selections of the same kind through the context
// in between are undone by the same restoring.
class CDCSelection {
public:
    CDCSelection(CDC& dc, CPen* pPen) : m_dc(dc), m_hOld(dc.SelectObject(pPen)) {}
    CDCSelection(CDC& dc, CBrush* pBrush) : m_dc(dc), m_hOld(dc.SelectObject(pBrush)) {}
    CDCSelection(const CDCSelection&) = delete;
    CDCSelection& operator=(const CDCSelection&) = delete;
    ~CDCSelection() { Restore(); }

    void Restore() {
        if (m_hOld != NULL) m_dc.SelectObject(m_hOld);
        m_hOld = NULL;
    }

private:
    CDC& m_dc;
    HGDIOBJ m_hOld;
};
