// CServicesDlg painting: the owner-drawn icon buttons (a flat face in a three-dimensional
// edge, the icon near the left end and the caption to its right), the minimised dialog's icon
// and the drag cursor.
#include "ServicesDlg.h"

namespace {

// Layout of a button's content, in pixels of the button's context. The left edges count
// from the context's origin, the button's own left edge, whatever the item rectangle says.
const int kIconLeft = 10;
const int kIconAboveCentre = 16;  // half of a 32-pixel icon
const int kCaptionLeft = 57;
const int kFocusInset = 3;        // the dotted rectangle, inside the focus frame

bool IsIconButton(int nIDCtl) {
    return nIDCtl == IDCANCEL || nIDCtl == IDC_SETUP_SERVICES || nIDCtl == IDC_REMOVE_SERVICES;
}

// The raised edge on rc: highlight along the left and top, black along the outer right and
// bottom, shadow just inside those. Every line leaves out its end point, so where two lines
// meet the later one has the corner.
void DrawRaisedEdge(CDC& dc, const RECT& rc) {
    CPen penHighlight(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    // Declared before the selection guard: whatever happens, the context's own pen is back
    // before any of these is deleted, and they go in the order shadow, black, highlight.
    CPen penBlack;
    CPen penShadow;
    CDCSelection keepPen(dc, &penHighlight);
    dc.MoveTo(rc.left, rc.bottom - 1);
    dc.LineTo(rc.left, rc.top);
    dc.LineTo(rc.right - 1, rc.top);

    if (!penBlack.CreatePen(PS_SOLID, 1, RGB(0, 0, 0))) AfxThrowResourceException();
    dc.SelectObject(&penBlack);
    dc.LineTo(rc.right - 1, rc.bottom - 1);
    dc.LineTo(rc.left - 1, rc.bottom - 1);

    if (!penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW))) AfxThrowResourceException();
    dc.SelectObject(&penShadow);
    dc.MoveTo(rc.left + 1, rc.bottom - 2);
    dc.LineTo(rc.right - 2, rc.bottom - 2);
    dc.LineTo(rc.right - 2, rc.top);
    keepPen.Restore();
}

}  // namespace

void CServicesDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    // Other controls are not ours to draw, nor anyone else's from here.
    if (!IsIconButton(nIDCtl)) return;

    // The context is the button's: borrowed for this request, never released here.
    CDC dc;
    dc.Attach(lpDrawItemStruct->hDC);
    // The working rectangle: the item's, one pixel smaller on every side inside a focus frame.
    RECT rect;
    ::CopyRect(&rect, &lpDrawItemStruct->rcItem);
    CBrush brFace(::GetSysColor(COLOR_BTNFACE));

    if (CWnd* pButton = GetDlgItem(nIDCtl)) {
        // The focus is the system's to say; the request's ODS_FOCUS bit is not asked.
        if (::GetFocus() == pButton->m_hWnd) {
            CDCSelection keepBrush(dc, &brFace);
            dc.Rectangle(rect.left, rect.top, rect.right, rect.bottom);  // frame in the context's pen
            ::InflateRect(&rect, -1, -1);
            keepBrush.Restore();
            RECT rcFocus = {rect.left + kFocusInset, rect.top + kFocusInset, rect.right - kFocusInset,
                            rect.bottom - kFocusInset};
            dc.DrawFocusRect(&rcFocus);
        } else {
            dc.FillRect(&lpDrawItemStruct->rcItem, &brFace);
        }

        // Raised, the content sits one pixel up and to the left of where it sits pressed.
        int d = 0;
        if (lpDrawItemStruct->itemState & ODS_SELECTED) {
            CBrush brShadow(::GetSysColor(COLOR_BTNSHADOW));
            dc.FrameRect(&rect, &brShadow);
        } else {
            DrawRaisedEdge(dc, rect);
            d = -1;
        }

        const int yCentre = (rect.top + rect.bottom) >> 1;
        HICON hIcon = reinterpret_cast<HICON>(::SendMessageA(pButton->m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0));
        if (hIcon != NULL) dc.DrawIcon(kIconLeft + d, yCentre + d - kIconAboveCentre, hIcon);

        // The caption in whatever font and colours the context came with.
        CString strCaption;
        pButton->GetWindowText(strCaption);
        SIZE extent = dc.GetTextExtent(strCaption);
        RECT rcCaption = {kCaptionLeft + d, yCentre - (extent.cy >> 1) + d, rect.right, rect.bottom};
        dc.DrawText(strCaption, &rcCaption, 0);
    }

    dc.Detach();
}

void CServicesDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    // Minimised: the application icon, centred, on the erased background.
    CPaintDC dc(this);
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    // Integer division truncates toward zero: a client area smaller than the icon does not
    // round the position down.
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CServicesDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }
