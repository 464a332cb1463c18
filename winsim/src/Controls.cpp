// Simulated system window classes: the dialog class's default handling and the standard
// controls (buttons hold an image, click, and have their owner draw them when owner-drawn;
// the others only keep their text).
#include "UserInternal.h"

using namespace winsim;

namespace winsim {

namespace {
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return DefWindowProcA(hwnd, msg, w, l); }

// An owner-drawn button asks its parent to draw it: WM_DRAWITEM with the button's state, a DC
// on the button's surface carrying the colours a button's parent gives by default (button
// text on the button face), and its whole client area as the item's rectangle.
void DrawOwnerButton(HWND hwnd, HDC hdc, UINT action) {
    DRAWITEMSTRUCT dis = DRAWITEMSTRUCT();
    HWND parent = NULL;
    {
        std::lock_guard<std::mutex> lock(S().mu);
        auto win = FindWindowLocked(hwnd);
        if (!win) return;
        parent = win->parent;
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = static_cast<UINT>(win->id);
        dis.itemAction = action;
        if (win->pushed) dis.itemState |= ODS_SELECTED;
        if (win->style & WS_DISABLED) dis.itemState |= ODS_DISABLED;
        if (win->thread != nullptr && win->thread->focus == hwnd) dis.itemState |= ODS_FOCUS;
        dis.hwndItem = hwnd;
        dis.hDC = hdc;
        dis.rcItem.right = win->iconic ? win->minimizedCx : win->cx;
        dis.rcItem.bottom = win->iconic ? win->minimizedCy : win->cy;
    }
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(hdc, GetSysColor(COLOR_BTNFACE));
    SendMessageA(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

bool IsOwnerDrawn(const Window& win) { return (win.style & BS_TYPEMASK) == BS_OWNERDRAW; }

// A visible owner-drawn button is drawn again at once when its state or focus changes.
void RedrawOwnerButton(HWND hwnd, UINT action) {
    {
        std::lock_guard<std::mutex> lock(S().mu);
        auto win = FindWindowLocked(hwnd);
        if (!win || !IsOwnerDrawn(*win)) return;
    }
    if (!IsWindowVisible(hwnd)) return;
    HDC hdc = GetDC(hwnd);
    if (hdc == NULL) return;
    DrawOwnerButton(hwnd, hdc, action);
    ReleaseDC(hwnd, hdc);
}

// Pressed or released, the button is drawn again, even when its state was already that.
void SetPushed(HWND hwnd, bool pushed) {
    {
        std::lock_guard<std::mutex> lock(S().mu);
        auto win = FindWindowLocked(hwnd);
        if (!win) return;
        win->pushed = pushed;
    }
    RedrawOwnerButton(hwnd, ODA_SELECT);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    std::unique_lock<std::mutex> lock(S().mu);
    auto win = FindWindowLocked(hwnd);
    if (!win) return 0;
    switch (msg) {
    case BM_SETIMAGE: {
        if (w != IMAGE_ICON && w != IMAGE_BITMAP) return 0;
        HANDLE old = win->image;
        win->image = reinterpret_cast<HANDLE>(l);
        return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE:
        return (w == IMAGE_ICON || w == IMAGE_BITMAP) ? reinterpret_cast<LRESULT>(win->image) : 0;
    case BM_SETSTATE:
        lock.unlock();
        SetPushed(hwnd, w != 0);
        return 0;
    case BM_GETSTATE:
        return win->pushed ? BST_PUSHED : 0;
    case BM_CLICK: {
        HWND parent = win->parent;
        int id = win->id;
        if (win->style & WS_DISABLED) return 0;
        lock.unlock();
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    case WM_LBUTTONDOWN:
        // Held down: the button takes the focus and shows itself pressed.
        lock.unlock();
        SetFocus(hwnd);
        SetPushed(hwnd, true);
        return 0;
    case WM_LBUTTONUP: {
        // Let go while pressed: it comes up and reports the click.
        bool wasPushed = win->pushed;
        HWND parent = win->parent;
        int id = win->id;
        lock.unlock();
        if (!wasPushed) return 0;
        SetPushed(hwnd, false);
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        lock.unlock();
        RedrawOwnerButton(hwnd, ODA_FOCUS);
        return 0;
    case WM_PAINT: {
        bool ownerDrawn = IsOwnerDrawn(*win);
        lock.unlock();
        PAINTSTRUCT ps;
        if (BeginPaint(hwnd, &ps) == NULL) return 0;
        if (ownerDrawn) DrawOwnerButton(hwnd, ps.hdc, ODA_DRAWENTIRE);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        lock.unlock();
        return DefWindowProcA(hwnd, msg, w, l);
    }
}

LRESULT CALLBACK DialogClassProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return DefDlgProcA(hwnd, msg, w, l); }
}  // namespace

void RegisterSystemClassesLocked() {
    RegisterSystemClassLocked("#32770", DialogClassProc, 30);
    RegisterSystemClassLocked("Button", ButtonProc, 0);
    for (const char* name : {"Static", "Edit", "ListBox", "ComboBox", "ScrollBar"}) {
        RegisterSystemClassLocked(name, ControlProc, 0);
    }
}

}  // namespace winsim

LRESULT WINAPI DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
    DLGPROC proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(hDlg, static_cast<int>(DWLP_DLGPROC)));
    if (proc != nullptr) {
        INT_PTR handled = proc(hDlg, Msg, wParam, lParam);
        // These messages return the procedure's own result; the others return the one it
        // left in DWLP_MSGRESULT.
        if (Msg == WM_INITDIALOG || Msg == WM_QUERYDRAGICON) {
            if (handled || Msg == WM_INITDIALOG) return handled;
        } else if (handled) {
            return GetWindowLongPtrA(hDlg, static_cast<int>(DWLP_MSGRESULT));
        }
    }
    switch (Msg) {
    case WM_CLOSE:
        // The close box asks the dialog to cancel.
        PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
        return 0;
    case DM_GETDEFID: {
        for (HWND h = GetWindow(hDlg, GW_CHILD); h != NULL; h = GetWindow(h, GW_HWNDNEXT)) {
            if ((GetWindowLongA(h, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                char cls[16] = "";
                GetClassNameA(h, cls, sizeof cls);
                if (lstrcmpiA(cls, "Button") == 0) return MAKELONG(GetDlgCtrlID(h), DC_HASDEFID);
            }
        }
        return 0;
    }
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
        return 0;
    default:
        return DefWindowProcA(hDlg, Msg, wParam, lParam);
    }
}
