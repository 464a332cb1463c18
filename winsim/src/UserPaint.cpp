// Simulated user32 painting: device contexts for windows (GetDC, BeginPaint), the rectangle
// helpers, FillRect, FrameRect, DrawFocusRect, DrawTextA with the fixed font, DrawIcon, system
// colours and metrics, and UpdateWindow.
#include <algorithm>
#include <cstring>
#include <string>

#include "GdiInternal.h"
#include "ResourcesInternal.h"
#include "UserInternal.h"

using namespace winsim;
using namespace winsim::gdi;

namespace winsim {

COLORREF gdi::SysColor(int index) {
    // The classic Windows scheme.
    switch (index) {
    case COLOR_BACKGROUND: return RGB(0, 128, 128);
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT: return RGB(0, 0, 0);
    case COLOR_BTNFACE: return RGB(192, 192, 192);
    case COLOR_BTNSHADOW: return RGB(128, 128, 128);
    case COLOR_BTNTEXT: return RGB(0, 0, 0);
    case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
    default: return 0;
    }
}

void SetMinimizedClientSize(HWND hwnd, int cx, int cy) {
    std::lock_guard<std::mutex> lock(S().mu);
    if (auto w = FindWindowLocked(hwnd)) {
        w->minimizedCx = std::max(cx, 0);
        w->minimizedCy = std::max(cy, 0);
    }
}

namespace {

// A DC on a window's surface; the surface is made anew, white, when the client area has
// changed size since the window last painted. NULL stands for the screen, whose DC draws on
// nothing.
HDC OpenWindowDC(HWND hwnd) {
    RECT rc = RECT();
    if (hwnd != NULL && !GetClientRect(hwnd, &rc)) return NULL;
    std::lock_guard<std::mutex> lock(G().mu);
    if (hwnd == NULL) return NewDCLocked(std::make_shared<Surface>(0, 0, 0), NULL, false);
    std::shared_ptr<Surface>& surface = G().windowSurfaces[hwnd];
    if (!surface || surface->cx != rc.right || surface->cy != rc.bottom) {
        surface = std::make_shared<Surface>(rc.right, rc.bottom, RGB(255, 255, 255));
    }
    return NewDCLocked(surface, hwnd, false);
}

void Normalise(RECT* rc) {
    if (rc->left > rc->right) std::swap(rc->left, rc->right);
    if (rc->top > rc->bottom) std::swap(rc->top, rc->bottom);
}

// One line of text as DrawTextA shows it: the characters drawn, and which are underlined.
struct ShownLine {
    std::string chars;
    std::vector<bool> underlined;
};

std::vector<ShownLine> LayOut(const std::string& text, UINT format) {
    std::vector<ShownLine> lines;
    if (text.empty()) return lines;
    lines.emplace_back();
    bool prefixes = (format & DT_NOPREFIX) == 0;
    bool breaks = (format & DT_SINGLELINE) == 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (breaks && (c == '\r' || c == '\n')) {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
            continue;
        }
        bool underline = false;
        if (prefixes && c == '&') {
            // "&x" underlines x, "&&" shows one "&", a final "&" shows nothing.
            if (i + 1 >= text.size()) break;
            c = text[++i];
            underline = c != '&';
        }
        lines.back().chars += c;
        lines.back().underlined.push_back(underline);
    }
    return lines;
}

// Draws one character cell with its top-left corner at (x0, y0): in opaque mode the cell in
// the background colour, then (unless a blank) a block for the glyph and, when underlined, a
// line under it, all in the text colour and inside clip.
void DrawCell(const DeviceContext& dc, const RECT& clip, int x0, int y0, char c, bool underline) {
    Surface& s = *dc.surface;
    auto put = [&](int x, int y, COLORREF color) {
        if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom) s.Set(x, y, color);
    };
    for (int y = 0; y < kCharHeight; ++y) {
        for (int x = 0; x < kCharWidth; ++x) {
            bool glyph = c != ' ' && x >= 1 && x <= 4 && y >= 3 && y <= 9;
            bool line = underline && y == 11;
            if (glyph || line) put(x0 + x, y0 + y, dc.textColor);
            else if (dc.bkMode == OPAQUE) put(x0 + x, y0 + y, dc.bkColor);
        }
    }
}

void PaintTree(HWND hwnd) {
    if (!IsWindowVisible(hwnd)) return;
    SendMessageA(hwnd, WM_PAINT, 0, 0);
    std::vector<HWND> children;
    {
        std::lock_guard<std::mutex> lock(S().mu);
        if (auto w = FindWindowLocked(hwnd)) children = w->children;
    }
    for (HWND c : children) PaintTree(c);
}

}  // namespace
}  // namespace winsim

HDC WINAPI GetDC(HWND hWnd) { return OpenWindowDC(hWnd); }

int WINAPI ReleaseDC(HWND, HDC hDC) {
    std::lock_guard<std::mutex> lock(G().mu);
    return DeleteDCLocked(hDC) ? 1 : 0;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    if (lpPaint == nullptr || hWnd == NULL) return NULL;
    // No update regions here: a paint covers the whole client area, whose background the
    // window erases itself.
    *lpPaint = PAINTSTRUCT();
    lpPaint->hdc = OpenWindowDC(hWnd);
    if (lpPaint->hdc == NULL) return NULL;
    GetClientRect(hWnd, &lpPaint->rcPaint);
    lpPaint->fErase = FALSE;
    return lpPaint->hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* lpPaint) {
    if (lpPaint == nullptr) return FALSE;
    std::lock_guard<std::mutex> lock(G().mu);
    DeleteDCLocked(lpPaint->hdc);
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    // Without update regions, updating repaints the window and then each of its visible
    // children, at once.
    if (!IsWindow(hWnd)) return FALSE;
    PaintTree(hWnd);
    return TRUE;
}

int WINAPI GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXSCREEN: return 1024;
    case SM_CYSCREEN: return 768;
    case SM_CXICON:
    case SM_CYICON: return 32;
    default: return 0;
    }
}

DWORD WINAPI GetSysColor(int nIndex) { return SysColor(nIndex); }

BOOL WINAPI SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
    if (lprc == nullptr) return FALSE;
    lprc->left = xLeft;
    lprc->top = yTop;
    lprc->right = xRight;
    lprc->bottom = yBottom;
    return TRUE;
}

BOOL WINAPI CopyRect(LPRECT lprcDst, const RECT* lprcSrc) {
    if (lprcDst == nullptr || lprcSrc == nullptr) return FALSE;
    *lprcDst = *lprcSrc;
    return TRUE;
}

BOOL WINAPI InflateRect(LPRECT lprc, int dx, int dy) {
    if (lprc == nullptr) return FALSE;
    lprc->left -= dx;
    lprc->top -= dy;
    lprc->right += dx;
    lprc->bottom += dy;
    return TRUE;
}

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    if (lprc == nullptr) return 0;
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hDC);
    COLORREF color = 0;
    if (dc == nullptr || !BrushColorLocked(hbr, &color)) return 0;
    // A reversed rectangle is filled all the same, still from its left and top edges
    // (included) to its right and bottom edges (excluded).
    RECT rc = *lprc;
    if (rc.left > rc.right) SetRect(&rc, rc.right + 1, rc.top, rc.left + 1, rc.bottom);
    if (rc.top > rc.bottom) SetRect(&rc, rc.left, rc.bottom + 1, rc.right, rc.top + 1);
    dc->surface->Fill(rc.left, rc.top, rc.right, rc.bottom, color);
    return 1;
}

int WINAPI FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    if (lprc == nullptr) return 0;
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hDC);
    COLORREF color = 0;
    if (dc == nullptr || !BrushColorLocked(hbr, &color)) return 0;
    const RECT& rc = *lprc;
    // An empty or reversed rectangle gets no frame.
    if (rc.right <= rc.left || rc.bottom <= rc.top) return 0;
    Surface& s = *dc->surface;
    s.Fill(rc.left, rc.top, rc.right, rc.top + 1, color);
    s.Fill(rc.left, rc.bottom - 1, rc.right, rc.bottom, color);
    s.Fill(rc.left, rc.top, rc.left + 1, rc.bottom, color);
    s.Fill(rc.right - 1, rc.top, rc.right, rc.bottom, color);
    return 1;
}

BOOL WINAPI DrawFocusRect(HDC hDC, const RECT* lprc) {
    if (lprc == nullptr) return FALSE;
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hDC);
    if (dc == nullptr) return FALSE;
    RECT rc = *lprc;
    Normalise(&rc);
    if (rc.right == rc.left || rc.bottom == rc.top) return TRUE;
    // A dotted closed path by inverting every other pixel: from the top-right corner down,
    // left along the bottom, up and back right along the top, each side up to (not
    // including) the next corner. The first pixel is inverted. Where a narrow rectangle
    // takes a pixel twice, the second inversion undoes the first.
    const POINT corners[5] = {{rc.right - 1, rc.top}, {rc.right - 1, rc.bottom - 1}, {rc.left, rc.bottom - 1},
                              {rc.left, rc.top}, {rc.right - 1, rc.top}};
    int n = 0;
    for (int side = 0; side < 4; ++side) {
        POINT p = corners[side];
        const POINT& end = corners[side + 1];
        int sx = end.x > p.x ? 1 : end.x < p.x ? -1 : 0;
        int sy = end.y > p.y ? 1 : end.y < p.y ? -1 : 0;
        for (; p.x != end.x || p.y != end.y; p.x += sx, p.y += sy, ++n) {
            if (n % 2 == 0) dc->surface->Invert(p.x, p.y);
        }
    }
    return TRUE;
}

int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    if (lpchText == nullptr || lprc == nullptr) return 0;
    std::string text(lpchText, cchText < 0 ? std::strlen(lpchText) : static_cast<size_t>(cchText));
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    if (dc == nullptr) return 0;
    DrawnText record;
    record.hdc = hdc;
    record.hwnd = dc->hwnd;
    record.text = text;
    record.rect = *lprc;
    record.format = format;
    G().texts.push_back(record);
    RECT clip = *lprc;
    if (format & DT_NOCLIP) SetRect(&clip, -0x8000000, -0x8000000, 0x7FFFFFF, 0x7FFFFFF);
    std::vector<ShownLine> lines = LayOut(text, format);
    for (size_t i = 0; i < lines.size(); ++i) {
        int y0 = lprc->top + static_cast<int>(i) * kCharHeight;
        for (size_t j = 0; j < lines[i].chars.size(); ++j) {
            DrawCell(*dc, clip, lprc->left + static_cast<int>(j) * kCharWidth, y0, lines[i].chars[j],
                     lines[i].underlined[j]);
        }
    }
    return static_cast<int>(lines.size()) * kCharHeight;
}

BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
    IconImage image;
    if (!IconImageFor(hIcon, &image)) return FALSE;
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hDC);
    if (dc == nullptr) return FALSE;
    DrawnIcon record;
    record.hdc = hDC;
    record.hwnd = dc->hwnd;
    record.x = X;
    record.y = Y;
    record.icon = hIcon;
    G().icons.push_back(record);
    // The mask first (kept pixels stay, the others clear), then the colours combined by
    // exclusive or: a transparent pixel with black colour leaves the background as it was.
    Surface& s = *dc->surface;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            size_t i = static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x);
            if (!s.Contains(X + x, Y + y)) continue;
            COLORREF below = image.transparent[i] ? s.Get(X + x, Y + y) : 0;
            s.Set(X + x, Y + y, below ^ image.pixels[i]);
        }
    }
    return TRUE;
}
