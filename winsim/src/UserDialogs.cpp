// Simulated dialogs and message boxes: dialogs built from the module's templates, the modal
// loop, the dialog keyboard interface, and the scripted user who answers what is modal.
#include <algorithm>
#include <cstring>

#include "ResourcesInternal.h"
#include "UserInternal.h"

using namespace winsim;

namespace winsim {

// Dialog units to pixels with the fixed font metrics of the simulated system (average
// character 6 by 13 pixels).
const int kBaseUnitX = 6;
const int kBaseUnitY = 13;

// Asks the scripted user; a modal element nobody answers fails the test.
UserAnswer AskUser(const ModalView& view) {
    UserHandler handler;
    {
        std::lock_guard<std::mutex> lock(S().mu);
        S().modals.push_back(view);
        handler = S().user;
    }
    if (!handler) {
        std::string what = view.kind == ModalView::kMessageBox ? "message box \"" + view.text + "\""
                           : view.kind == ModalView::kOpenFile ? std::string("file-open dialog")
                                                               : "dialog \"" + view.caption + "\"";
        throw SimulationError("nobody answers the " + what);
    }
    return handler(view);
}

namespace {

std::vector<int> MessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
    }
}

std::string ClassOf(const ResName& name) {
    if (name.isOrdinal) {
        const char* n = PredefinedClassName(name.ordinal);
        return n ? n : "Static";
    }
    return name.name;
}

HWND CreateDialogFromTemplate(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                              DLGPROC lpDialogFunc, LPARAM dwInitParam, bool modal) {
    {
        std::lock_guard<std::mutex> lock(S().mu);
        if (S().refuseDialogs) {
            SetLastErrorLocked(ERROR_NOT_ENOUGH_QUOTA);
            return NULL;
        }
    }
    DialogTemplate t;
    if (!DialogTemplateFor(hInstance, lpTemplateName, &t)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return NULL;
    }
    std::string cls = t.windowClass.IsEmpty() ? "#32770" : ClassOf(t.windowClass);
    DWORD style = t.style & ~static_cast<DWORD>(WS_VISIBLE);
    HWND hDlg = CreateWindowExA(t.exStyle, cls.c_str(), t.title.c_str(), style, t.x * kBaseUnitX / 4,
                                t.y * kBaseUnitY / 8, t.cx * kBaseUnitX / 4, t.cy * kBaseUnitY / 8,
                                hWndParent, NULL, hInstance, NULL);
    if (hDlg == NULL) return NULL;
    {
        std::lock_guard<std::mutex> lock(S().mu);
        auto w = FindWindowLocked(hDlg);
        w->isDialog = true;
        w->extra[static_cast<int>(DWLP_DLGPROC)] = reinterpret_cast<LONG_PTR>(lpDialogFunc);
        w->dialogModal = modal;
    }
    for (const DialogItem& item : t.items) {
        std::string text = item.title.isOrdinal ? "" : item.title.name;
        std::string itemClass = ClassOf(item.windowClass);
        HWND hCtl = CreateWindowExA(item.exStyle, itemClass.c_str(), text.c_str(), item.style | WS_CHILD,
                                    item.x * kBaseUnitX / 4, item.y * kBaseUnitY / 8, item.cx * kBaseUnitX / 4,
                                    item.cy * kBaseUnitY / 8, hDlg,
                                    reinterpret_cast<HMENU>(static_cast<LONG_PTR>(static_cast<WORD>(item.id))),
                                    hInstance, NULL);
        if (hCtl == NULL) {
            DestroyWindow(hDlg);
            return NULL;
        }
    }
    HWND hFirst = GetNextDlgTabItem(hDlg, NULL, FALSE);
    if (SendMessageA(hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(hFirst), dwInitParam) && hFirst != NULL) {
        SetFocus(hFirst);
    }
    if (!IsWindow(hDlg)) return NULL;
    if (t.style & WS_VISIBLE) ShowWindow(hDlg, SW_SHOW);
    return hDlg;
}

bool DialogEnded(HWND hDlg, INT_PTR* result) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hDlg);
    if (!w) return true;
    if (result) *result = w->dialogResult;
    return w->dialogEnded;
}

}  // namespace
}  // namespace winsim

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    if (!CheckAliveUnlocked()) return 0;
    ModalView view;
    view.kind = ModalView::kMessageBox;
    view.pid = GetCurrentProcessId();
    view.owner = hWnd;
    view.text = lpText ? lpText : "";
    view.caption = lpCaption ? lpCaption : "Error";
    view.style = uType;
    // The owner is disabled while the box shows.
    bool disabled = hWnd != NULL && hWnd != kDesktop && IsWindowEnabled(hWnd);
    if (disabled) EnableWindow(hWnd, FALSE);
    UserAnswer answer = AskUser(view);
    if (disabled) EnableWindow(hWnd, TRUE);
    std::vector<int> buttons = MessageBoxButtons(uType);
    if (answer.button == 0) {
        // Enter presses the default button.
        size_t def = (uType & MB_DEFMASK) >> 8;
        return buttons[def < buttons.size() ? def : 0];
    }
    for (int b : buttons) {
        if (b == answer.button) return b;
    }
    throw SimulationError("the scripted user pressed a button the message box does not have: " +
                          std::to_string(answer.button));
}

HWND WINAPI CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    if (!CheckAliveUnlocked()) return NULL;
    return CreateDialogFromTemplate(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam, false);
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    if (!CheckAliveUnlocked()) return -1;
    HWND hOwner = hWndParent == NULL || hWndParent == kDesktop ? NULL : hWndParent;
    {
        std::lock_guard<std::mutex> lock(S().mu);
        if (hOwner != NULL) hOwner = TopLevelOf(hOwner);
    }
    bool disabled = hOwner != NULL && IsWindowEnabled(hOwner);
    if (disabled) EnableWindow(hOwner, FALSE);
    HWND hDlg = CreateDialogFromTemplate(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam, true);
    if (hDlg == NULL) {
        if (disabled) EnableWindow(hOwner, TRUE);
        return -1;
    }
    INT_PTR result = 0;
    if (!DialogEnded(hDlg, &result)) {
        ShowWindow(hDlg, SW_SHOW);
        SetActiveWindow(hDlg);
        // The dialog manager paints the dialog once its queue is idle, before anyone can act
        // on it; here that is before the scripted user sees it.
        UpdateWindow(hDlg);
        ModalView view;
        view.kind = ModalView::kDialog;
        view.pid = GetCurrentProcessId();
        view.owner = hOwner;
        view.hwnd = hDlg;
        char title[256] = "";
        GetWindowTextA(hDlg, title, sizeof title);
        view.caption = title;
        UserAnswer answer = AskUser(view);
        if (answer.act) answer.act();
        // The modal loop: dispatch this thread's messages through the dialog's keyboard
        // interface until the dialog is ended.
        Thread* self = CurrentThread();
        while (!DialogEnded(hDlg, &result)) {
            MSG msg;
            {
                std::unique_lock<std::mutex> lock(S().mu);
                if (!WaitFor(lock, self, "a modal dialog nobody ends", [&]() {
                        auto w = FindWindowLocked(hDlg);
                        return !w || w->dialogEnded || TakeMessageLocked(self, NULL, 0, 0, false, &msg);
                    })) {
                    return -1;
                }
            }
            if (DialogEnded(hDlg, &result)) break;
            if (!PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) continue;
            if (msg.message == WM_QUIT) {
                // The quit request is handed back to the loop outside the dialog.
                PostQuitMessage(static_cast<int>(msg.wParam));
                EndDialog(hDlg, 0);
                break;
            }
            if (!IsDialogMessageA(hDlg, &msg)) DispatchMessageA(&msg);
        }
        DialogEnded(hDlg, &result);
    }
    unsigned delay = 0;
    {
        std::lock_guard<std::mutex> lock(S().mu);
        delay = S().modalReturnDelayMs;
    }
    if (delay != 0) Sleep(delay);
    if (disabled) EnableWindow(hOwner, TRUE);
    DestroyWindow(hDlg);
    if (hOwner != NULL && IsWindow(hOwner)) SetActiveWindow(hOwner);
    return result;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    std::unique_lock<std::mutex> lock(S().mu);
    if (!CheckAlive(lock)) return FALSE;
    auto w = FindWindowLocked(hDlg);
    if (!w || !w->isDialog) {
        SetLastErrorLocked(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    S().calls.push_back("EndDialog(" + std::to_string(nResult) + ")");
    w->dialogEnded = true;
    w->dialogResult = nResult;
    w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    if (w->thread) w->thread->cv.notify_all();
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hDlg);
    if (!w) return NULL;
    for (HWND c : w->children) {
        auto cw = FindWindowLocked(c);
        if (cw && cw->id == nIDDlgItem) return c;
    }
    return NULL;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    return w ? w->id : 0;
}

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    HWND hCtl = GetDlgItem(hDlg, nIDDlgItem);
    return hCtl == NULL ? 0 : SendMessageA(hCtl, Msg, wParam, lParam);
}

HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hDlg);
    if (!w) return NULL;
    std::vector<HWND> stops;
    for (HWND c : w->children) {
        auto cw = FindWindowLocked(c);
        if (cw && (cw->style & WS_TABSTOP) && (cw->style & WS_VISIBLE) && !(cw->style & WS_DISABLED)) stops.push_back(c);
    }
    if (stops.empty()) return NULL;
    auto it = std::find(stops.begin(), stops.end(), hCtl);
    if (it == stops.end()) return bPrevious ? stops.back() : stops.front();
    size_t i = static_cast<size_t>(it - stops.begin());
    size_t n = stops.size();
    return stops[bPrevious ? (i + n - 1) % n : (i + 1) % n];
}

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
    if (lpMsg->message != WM_KEYDOWN) return FALSE;
    switch (lpMsg->wParam) {
    case VK_ESCAPE:
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
        return TRUE;
    case VK_RETURN: {
        // The default push button, or IDOK when the dialog has none.
        LRESULT def = SendMessageA(hDlg, DM_GETDEFID, 0, 0);
        int id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, id)));
        return TRUE;
    }
    case VK_TAB: {
        HWND next = GetNextDlgTabItem(hDlg, GetFocus(), FALSE);
        if (next != NULL) SetFocus(next);
        return TRUE;
    }
    case VK_SPACE: {
        HWND focus = GetFocus();
        if (focus != NULL) SendMessageA(focus, BM_CLICK, 0, 0);
        return TRUE;
    }
    default:
        return FALSE;
    }
}
