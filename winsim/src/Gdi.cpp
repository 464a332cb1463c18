// Simulated gdi32: pens, brushes and bitmaps, device contexts on pixel surfaces, and the
// drawing rules of lines and rectangles (end points and right and bottom edges excluded).
#include <algorithm>
#include <cstdlib>

#include "GdiInternal.h"
#include "winsim_world.h"

using namespace winsim;
using namespace winsim::gdi;

namespace winsim {
namespace gdi {

namespace {
// Stock objects have fixed handles below the ones handed out for created objects.
const std::uintptr_t kStockBase = 0x5F000;
const std::uintptr_t kFirstHandle = 0x60000;
const int kDefaultBitmap = 16;  // the 1 x 1 bitmap a new memory DC holds

HGDIOBJ StockHandle(int index) { return reinterpret_cast<HGDIOBJ>(kStockBase + 4 * static_cast<std::uintptr_t>(index)); }

void AddStockLocked(GdiState& g, int index, GdiObject::Kind kind, COLORREF color, bool hollow) {
    GdiObject o;
    o.kind = kind;
    o.color = color;
    o.hollow = hollow;
    o.stock = true;
    if (kind == GdiObject::kBitmap) o.surface = std::make_shared<Surface>(1, 1, 0);
    g.objects[StockHandle(index)] = o;
}

void ClearLocked(GdiState& g) {
    g.objects.clear();
    g.dcs.clear();
    g.windowSurfaces.clear();
    g.texts.clear();
    g.icons.clear();
    g.nextHandle = kFirstHandle;
    g.refuseAfter = -1;
    AddStockLocked(g, WHITE_BRUSH, GdiObject::kBrush, RGB(255, 255, 255), false);
    AddStockLocked(g, BLACK_BRUSH, GdiObject::kBrush, RGB(0, 0, 0), false);
    AddStockLocked(g, NULL_BRUSH, GdiObject::kBrush, 0, true);
    AddStockLocked(g, WHITE_PEN, GdiObject::kPen, RGB(255, 255, 255), false);
    AddStockLocked(g, BLACK_PEN, GdiObject::kPen, RGB(0, 0, 0), false);
    AddStockLocked(g, NULL_PEN, GdiObject::kPen, 0, true);
    AddStockLocked(g, kDefaultBitmap, GdiObject::kBitmap, 0, false);
}

void ResetGdi() {
    std::lock_guard<std::mutex> lock(G().mu);
    ClearLocked(G());
}

const bool kResetHookRegistered = RegisterResetHook(&ResetGdi);

// Creation, or NULL while the test refuses it.
HGDIOBJ NewObjectLocked(const GdiObject& o) {
    GdiState& g = G();
    if (g.refuseAfter == 0) return NULL;
    if (g.refuseAfter > 0) --g.refuseAfter;
    HGDIOBJ h = reinterpret_cast<HGDIOBJ>(g.nextHandle);
    g.nextHandle += 4;
    g.objects[h] = o;
    return h;
}

// Puts h in a DC's slot for its kind, keeping count of the DCs each object is selected into.
void Select(HGDIOBJ* slot, HGDIOBJ h) {
    if (GdiObject* old = FindObjectLocked(*slot)) --old->selectedIn;
    *slot = h;
    if (GdiObject* o = FindObjectLocked(h)) ++o->selectedIn;
}

int FloorDiv(int a, int b) {  // b > 0
    int q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// a / b rounded to the nearest integer, halves toward minus infinity (b > 0).
int RoundHalfDown(int a, int b) { return -FloorDiv(b - 2 * a, 2 * b); }
}  // namespace

Surface::Surface(int width, int height, COLORREF fill)
    : cx(std::max(width, 0)), cy(std::max(height, 0)),
      pixels(static_cast<size_t>(cx) * static_cast<size_t>(cy), fill & 0x00FFFFFF) {}

void Surface::Fill(int left, int top, int right, int bottom, COLORREF color) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, cx);
    bottom = std::min(bottom, cy);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) pixels[Index(x, y)] = color & 0x00FFFFFF;
    }
}

GdiState::GdiState() { ClearLocked(*this); }

GdiState& G() {
    static GdiState state;
    return state;
}

DeviceContext* FindDCLocked(HDC hdc) {
    auto it = G().dcs.find(hdc);
    return it == G().dcs.end() ? nullptr : &it->second;
}

GdiObject* FindObjectLocked(HGDIOBJ h) {
    auto it = G().objects.find(h);
    return it == G().objects.end() ? nullptr : &it->second;
}

HDC NewDCLocked(std::shared_ptr<Surface> surface, HWND hwnd, bool memory) {
    GdiState& g = G();
    HDC hdc = reinterpret_cast<HDC>(g.nextHandle);
    g.nextHandle += 4;
    DeviceContext& dc = g.dcs[hdc];
    dc.surface = std::move(surface);
    dc.hwnd = hwnd;
    dc.memory = memory;
    Select(&dc.pen, StockHandle(BLACK_PEN));
    Select(&dc.brush, StockHandle(WHITE_BRUSH));
    if (memory) Select(&dc.bitmap, StockHandle(kDefaultBitmap));
    return hdc;
}

bool DeleteDCLocked(HDC hdc) {
    DeviceContext* dc = FindDCLocked(hdc);
    if (dc == nullptr) return false;
    Select(&dc->pen, NULL);
    Select(&dc->brush, NULL);
    Select(&dc->bitmap, NULL);
    G().dcs.erase(hdc);
    return true;
}

bool BrushColorLocked(HBRUSH hbr, COLORREF* color) {
    std::uintptr_t value = reinterpret_cast<std::uintptr_t>(hbr);
    if (value >= 1 && value <= 31) {
        *color = SysColor(static_cast<int>(value) - 1);
        return true;
    }
    GdiObject* o = FindObjectLocked(hbr);
    if (o == nullptr || o->kind != GdiObject::kBrush || o->hollow) return false;
    *color = o->color;
    return true;
}

}  // namespace gdi

int LiveGdiObjects() {
    std::lock_guard<std::mutex> lock(G().mu);
    int n = static_cast<int>(G().dcs.size());
    for (const auto& kv : G().objects) {
        if (!kv.second.stock) ++n;
    }
    return n;
}

COLORREF Picture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= cx || y >= cy) return CLR_INVALID;
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(cx) + static_cast<size_t>(x)];
}

Picture WindowPicture(HWND hwnd) {
    std::lock_guard<std::mutex> lock(G().mu);
    Picture p;
    auto it = G().windowSurfaces.find(hwnd);
    if (it == G().windowSurfaces.end()) return p;
    p.cx = it->second->cx;
    p.cy = it->second->cy;
    p.pixels = it->second->pixels;
    return p;
}

std::vector<DrawnText> DrawnTexts() {
    std::lock_guard<std::mutex> lock(G().mu);
    return G().texts;
}

std::vector<DrawnIcon> DrawnIcons() {
    std::lock_guard<std::mutex> lock(G().mu);
    return G().icons;
}

void ForgetDrawing() {
    std::lock_guard<std::mutex> lock(G().mu);
    G().texts.clear();
    G().icons.clear();
}

void RefuseGdiObjectsAfter(int allowed) {
    std::lock_guard<std::mutex> lock(G().mu);
    G().refuseAfter = allowed < 0 ? -1 : allowed;
}

}  // namespace winsim

HPEN WINAPI CreatePen(int iStyle, int, COLORREF color) {
    // Every pen is one pixel wide here: the launcher draws with nothing wider.
    std::lock_guard<std::mutex> lock(G().mu);
    GdiObject o;
    o.kind = GdiObject::kPen;
    o.color = color & 0x00FFFFFF;
    o.hollow = iStyle == PS_NULL;
    return static_cast<HPEN>(NewObjectLocked(o));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    std::lock_guard<std::mutex> lock(G().mu);
    GdiObject o;
    o.kind = GdiObject::kBrush;
    o.color = color & 0x00FFFFFF;
    return static_cast<HBRUSH>(NewObjectLocked(o));
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
    // Every bitmap holds colour pixels, even one made for a memory DC (which on Windows would
    // be monochrome like the DC's default bitmap). New pixels are black.
    std::lock_guard<std::mutex> lock(G().mu);
    if (FindDCLocked(hdc) == nullptr || cx < 0 || cy < 0) return NULL;
    GdiObject o;
    o.kind = GdiObject::kBitmap;
    o.surface = std::make_shared<Surface>(cx, cy, 0);
    return static_cast<HBITMAP>(NewObjectLocked(o));
}

HGDIOBJ WINAPI GetStockObject(int i) {
    std::lock_guard<std::mutex> lock(G().mu);
    if (i == kDefaultBitmap) return NULL;  // internal
    return FindObjectLocked(StockHandle(i)) ? StockHandle(i) : NULL;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    GdiObject* o = FindObjectLocked(h);
    if (dc == nullptr || o == nullptr) return NULL;
    HGDIOBJ previous = NULL;
    switch (o->kind) {
    case GdiObject::kPen:
        previous = dc->pen;
        Select(&dc->pen, h);
        break;
    case GdiObject::kBrush:
        previous = dc->brush;
        Select(&dc->brush, h);
        break;
    case GdiObject::kBitmap:
        // Only a memory DC takes a bitmap, and a bitmap goes into one DC at a time.
        if (!dc->memory) return NULL;
        if (dc->bitmap == h) return h;
        if (!o->stock && o->selectedIn > 0) return NULL;
        previous = dc->bitmap;
        Select(&dc->bitmap, h);
        dc->surface = o->surface;
        break;
    }
    return previous;
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    if (dc == nullptr) return NULL;
    switch (type) {
    case OBJ_PEN: return dc->pen;
    case OBJ_BRUSH: return dc->brush;
    case OBJ_BITMAP: return dc->bitmap;
    default: return NULL;
    }
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    std::lock_guard<std::mutex> lock(G().mu);
    GdiObject* o = FindObjectLocked(ho);
    if (o == nullptr) return FALSE;
    if (o->stock) return TRUE;
    // As documented: an object still selected into a DC is not deleted.
    if (o->selectedIn > 0) return FALSE;
    G().objects.erase(ho);
    return TRUE;
}

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    std::lock_guard<std::mutex> lock(G().mu);
    if (hdc != NULL && FindDCLocked(hdc) == nullptr) return NULL;
    return NewDCLocked(FindObjectLocked(StockHandle(kDefaultBitmap))->surface, NULL, true);
}

BOOL WINAPI DeleteDC(HDC hdc) {
    std::lock_guard<std::mutex> lock(G().mu);
    return DeleteDCLocked(hdc) ? TRUE : FALSE;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    return dc ? dc->surface->Get(x, y) : CLR_INVALID;
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    if (dc == nullptr || !dc->surface->Contains(x, y)) return CLR_INVALID;
    dc->surface->Set(x, y, color);
    return color & 0x00FFFFFF;
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    if (dc == nullptr) return FALSE;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    // An empty rectangle, and one of a single pixel, draw nothing.
    if (right - left == 0 || bottom - top == 0 || (right - left == 1 && bottom - top == 1)) return TRUE;
    GdiObject* pen = FindObjectLocked(dc->pen);
    COLORREF fill = 0;
    bool filled = BrushColorLocked(static_cast<HBRUSH>(dc->brush), &fill);
    Surface& s = *dc->surface;
    if (pen == nullptr || pen->hollow) {
        // Without an outline the inside grows by the pen's pixel on the left and top only.
        if (filled) s.Fill(left, top, right - 1, bottom - 1, fill);
        return TRUE;
    }
    if (filled) s.Fill(left + 1, top + 1, right - 1, bottom - 1, fill);
    s.Fill(left, top, right, top + 1, pen->color);
    s.Fill(left, bottom - 1, right, bottom, pen->color);
    s.Fill(left, top, left + 1, bottom, pen->color);
    s.Fill(right - 1, top, right, bottom, pen->color);
    return TRUE;
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    if (dc == nullptr) return FALSE;
    if (lppt != nullptr) *lppt = dc->pos;
    dc->pos.x = x;
    dc->pos.y = y;
    return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    if (dc == nullptr) return FALSE;
    GdiObject* pen = FindObjectLocked(dc->pen);
    int x0 = dc->pos.x, y0 = dc->pos.y;
    dc->pos.x = x;
    dc->pos.y = y;
    if (pen == nullptr || pen->hollow) return TRUE;
    // One pixel per step along the longer axis, from the start up to the end point, which is
    // not drawn; the other coordinate is rounded to the nearest, halves toward minus infinity.
    int dx = x - x0, dy = y - y0;
    int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i < steps; ++i) {
        int px, py;
        if (std::abs(dx) >= std::abs(dy)) {
            px = x0 + (dx > 0 ? i : -i);
            py = y0 + RoundHalfDown(i * dy, steps);
        } else {
            py = y0 + (dy > 0 ? i : -i);
            px = x0 + RoundHalfDown(i * dx, steps);
        }
        dc->surface->Set(px, py, pen->color);
    }
    return TRUE;
}

BOOL WINAPI GetTextExtentPointA(HDC hdc, LPCSTR lpString, int c, LPSIZE lpsz) {
    std::lock_guard<std::mutex> lock(G().mu);
    if (FindDCLocked(hdc) == nullptr || lpsz == nullptr || c < 0 || (c > 0 && lpString == nullptr)) return FALSE;
    // Every byte counts as one character cell, "&" and line breaks included; an empty string
    // has no height either.
    lpsz->cx = c * kCharWidth;
    lpsz->cy = c > 0 ? kCharHeight : 0;
    return TRUE;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    if (dc == nullptr) return CLR_INVALID;
    COLORREF old = dc->textColor;
    dc->textColor = color & 0x00FFFFFF;
    return old;
}

COLORREF WINAPI GetTextColor(HDC hdc) {
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    return dc ? dc->textColor : CLR_INVALID;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    if (dc == nullptr) return CLR_INVALID;
    COLORREF old = dc->bkColor;
    dc->bkColor = color & 0x00FFFFFF;
    return old;
}

COLORREF WINAPI GetBkColor(HDC hdc) {
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    return dc ? dc->bkColor : CLR_INVALID;
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int old = dc->bkMode;
    dc->bkMode = mode;
    return old;
}

int WINAPI GetBkMode(HDC hdc) {
    std::lock_guard<std::mutex> lock(G().mu);
    DeviceContext* dc = FindDCLocked(hdc);
    return dc ? dc->bkMode : 0;
}
