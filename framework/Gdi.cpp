// CDC, CPaintDC, CPen and CBrush: thin wrappers over the drawing calls, owning what they make
// and borrowing what they are handed.
#include "Gdi.h"

#include "Wnd.h"

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == NULL) return FALSE;
    HGDIOBJ h = m_hObject;
    m_hObject = NULL;
    return ::DeleteObject(h);
}

void CGdiObject::Attach(HGDIOBJ h) {
    DeleteObject();
    m_hObject = h;
}

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
    if (!CreatePen(nPenStyle, nWidth, crColor)) AfxThrowResourceException();
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    HPEN hPen = ::CreatePen(nPenStyle, nWidth, crColor);
    if (hPen == NULL) return FALSE;
    Attach(hPen);
    return TRUE;
}

CBrush::CBrush(COLORREF crColor) {
    if (!CreateSolidBrush(crColor)) AfxThrowResourceException();
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    HBRUSH hBrush = ::CreateSolidBrush(crColor);
    if (hBrush == NULL) return FALSE;
    Attach(hBrush);
    return TRUE;
}

BOOL CDC::Attach(HDC hDC) {
    if (hDC == NULL || m_hDC != NULL) return FALSE;
    m_hDC = hDC;
    return TRUE;
}

HDC CDC::Detach() {
    HDC hDC = m_hDC;
    m_hDC = NULL;
    return hDC;
}

HPEN CDC::SelectObject(CPen* pPen) { return static_cast<HPEN>(::SelectObject(m_hDC, pPen->GetSafeHandle())); }

HBRUSH CDC::SelectObject(CBrush* pBrush) {
    return static_cast<HBRUSH>(::SelectObject(m_hDC, pBrush->GetSafeHandle()));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) { ::FillRect(m_hDC, lpRect, *pBrush); }

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) { ::FrameRect(m_hDC, lpRect, *pBrush); }

void CDC::DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }

POINT CDC::MoveTo(int x, int y) {
    POINT previous = POINT();
    ::MoveToEx(m_hDC, x, y, &previous);
    return previous;
}

BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

int CDC::DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
    return DrawText(str, str.GetLength(), lpRect, nFormat);
}

SIZE CDC::GetTextExtent(LPCSTR lpszString, int nCount) const {
    SIZE size = SIZE();
    if (!::GetTextExtentPointA(m_hDC, lpszString, nCount, &size)) size = SIZE();
    return size;
}

SIZE CDC::GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }

CPaintDC::CPaintDC(CWnd* pWnd) : m_ps(), m_hWnd(pWnd->m_hWnd) {
    if (!Attach(::BeginPaint(m_hWnd, &m_ps))) AfxThrowResourceException();
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}
