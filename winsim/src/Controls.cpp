// Simulated system window classes: the dialog class's default handling and the standard
// controls (buttons hold an image and click; the others only keep their text).
#include "UserInternal.h"

using namespace winsim;

namespace winsim {

namespace {
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return DefWindowProcA(hwnd, msg, w, l); }

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
        win->pushed = w != 0;
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
