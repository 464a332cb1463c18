// What tests see of winsim's GDI: live drawing objects, window surfaces, the texts and icons
// drawn, and fault injection for object creation. Not part of the simulated API.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace winsim {

// Pens, brushes, bitmaps and device contexts created and not yet deleted or released, in all
// simulated processes. Stock objects do not count.
int LiveGdiObjects();

// A copy of a surface's pixels, rows top first.
struct Picture {
    int cx = 0;
    int cy = 0;
    std::vector<COLORREF> pixels;
    // CLR_INVALID outside the picture.
    COLORREF At(int x, int y) const;
};

// A window's surface as last painted: its client area at the time of the last BeginPaint or
// GetDC. Empty when the window was never painted.
Picture WindowPicture(HWND hwnd);

// DrawTextA calls, in order: the text as passed (prefix characters included) and the
// rectangle it was drawn in.
struct DrawnText {
    HDC hdc = NULL;
    HWND hwnd = NULL;  // the window whose surface the context draws on; NULL for memory DCs
    std::string text;
    RECT rect = RECT();
    UINT format = 0;
};
std::vector<DrawnText> DrawnTexts();

// DrawIcon calls, in order, with the position asked for (drawn or not).
struct DrawnIcon {
    HDC hdc = NULL;
    HWND hwnd = NULL;
    int x = 0;
    int y = 0;
    HICON icon = NULL;
};
std::vector<DrawnIcon> DrawnIcons();

// Forgets the texts and icons drawn so far.
void ForgetDrawing();

// Fault injection: after `allowed` more successful creations, CreatePen, CreateSolidBrush and
// CreateCompatibleBitmap fail (return NULL). A negative value lifts the limit.
void RefuseGdiObjectsAfter(int allowed);

// The client area a minimised window reports (GetClientRect) and paints on. The simulated
// desktop, like today's Windows, gives minimised windows an empty client area by default;
// a test sets a size to look at what the window paints into its icon.
void SetMinimizedClientSize(HWND hwnd, int cx, int cy);

}  // namespace winsim
