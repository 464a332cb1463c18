// Inside winsim's GDI: surfaces, drawing objects and device contexts, shared by the gdi32 part
// (Gdi.cpp) and the painting part of user32 (UserPaint.cpp). The GDI state has a lock of its
// own; nothing else is called while it is held, and the world's lock is never taken under it.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "winsim_gdi_view.h"

namespace winsim {
namespace gdi {

// The fixed font of the simulated system: every character cell is kCharWidth by kCharHeight
// pixels (the dialog builder's base units are the same).
const int kCharWidth = 6;
const int kCharHeight = 13;

// A width x height array of COLORREF, rows top first.
struct Surface {
    Surface(int width, int height, COLORREF fill);
    int cx;
    int cy;
    std::vector<COLORREF> pixels;

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < cx && y < cy; }
    COLORREF Get(int x, int y) const { return Contains(x, y) ? pixels[Index(x, y)] : CLR_INVALID; }
    // Pixels outside the surface are left alone, as drawing is clipped to it.
    void Set(int x, int y, COLORREF color) {
        if (Contains(x, y)) pixels[Index(x, y)] = color & 0x00FFFFFF;
    }
    void Invert(int x, int y) {
        if (Contains(x, y)) pixels[Index(x, y)] ^= 0x00FFFFFF;
    }
    // Fills [left, right) x [top, bottom), clipped.
    void Fill(int left, int top, int right, int bottom, COLORREF color);

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(cx) + static_cast<size_t>(x); }
};

struct GdiObject {
    enum Kind { kPen, kBrush, kBitmap } kind = kPen;
    COLORREF color = 0;
    bool hollow = false;  // a PS_NULL pen or the null brush: draws nothing
    bool stock = false;   // never deleted, never counted
    std::shared_ptr<Surface> surface;  // bitmaps
    int selectedIn = 0;   // how many DCs hold it selected
};

struct DeviceContext {
    std::shared_ptr<Surface> surface;  // never null; 0 x 0 for the screen
    HWND hwnd = NULL;                  // the window whose client area this DC draws on
    bool memory = false;               // from CreateCompatibleDC: bitmaps can be selected
    HGDIOBJ pen = NULL;
    HGDIOBJ brush = NULL;
    HGDIOBJ bitmap = NULL;             // memory DCs
    POINT pos = POINT();
    COLORREF textColor = 0;
    COLORREF bkColor = 0x00FFFFFF;
    int bkMode = OPAQUE;
};

struct GdiState {
    GdiState();
    std::mutex mu;
    std::map<HGDIOBJ, GdiObject> objects;  // the stock objects included
    std::map<HDC, DeviceContext> dcs;
    std::map<HWND, std::shared_ptr<Surface>> windowSurfaces;
    std::vector<DrawnText> texts;
    std::vector<DrawnIcon> icons;
    std::uintptr_t nextHandle = 0;
    int refuseAfter = -1;
};

GdiState& G();

// The system colour of an index (the classic Windows scheme); 0 for an unknown index.
COLORREF SysColor(int index);

// Under G().mu: ---------------------------------------------------------------------------

DeviceContext* FindDCLocked(HDC hdc);
GdiObject* FindObjectLocked(HGDIOBJ h);
// A new DC on surface, with the defaults every new DC has: black one-pixel pen, white brush,
// black text on an opaque white background, position (0, 0).
HDC NewDCLocked(std::shared_ptr<Surface> surface, HWND hwnd, bool memory);
// Deletes a DC, deselecting what it holds; false for an unknown DC.
bool DeleteDCLocked(HDC hdc);
// The colour a brush paints with; false for a null brush or an unknown handle. A system
// colour index plus one stands for that colour, as FillRect and window classes accept.
bool BrushColorLocked(HBRUSH hbr, COLORREF* color);

}  // namespace gdi
}  // namespace winsim
