// Simulated user32: window classes, window creation and destruction, window properties,
// window search, activation, and the message queues.
#include <algorithm>
#include <cstring>

#include "State.h"
#include "UserInternal.h"

using namespace winsim;

namespace winsim {

const HWND kDesktop = reinterpret_cast<HWND>(0x10010);

namespace {
std::string ClassKey(const std::string& name, DWORD pid) { return Upper(name) + "|" + std::to_string(pid); }
}  // namespace

void RegisterSystemClassLocked(const char* name, WNDPROC proc, int cbWndExtra) {
    WndClass c;
    c.name = name;
    c.proc = proc;
    c.cbWndExtra = cbWndExtra;
    c.pid = 0;
    S().classes[ClassKey(name, 0)] = c;
}

const WndClass* FindClassLocked(const std::string& name, DWORD pid) {
    if (S().classes.find(ClassKey("#32770", 0)) == S().classes.end()) RegisterSystemClassesLocked();
    auto it = S().classes.find(ClassKey(name, pid));
    if (it == S().classes.end()) it = S().classes.find(ClassKey(name, 0));
    return it == S().classes.end() ? nullptr : &it->second;
}

LRESULT CallProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    return proc ? proc(hwnd, msg, w, l) : 0;
}

LRESULT SendLocked(std::unique_lock<std::mutex>& lock, HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    auto win = FindWindowLocked(hwnd);
    if (!win) {
        SetLastErrorLocked(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    WNDPROC proc = win->proc;
    lock.unlock();
    LRESULT r = CallProc(proc, hwnd, msg, w, l);
    lock.lock();
    return r;
}

HWND TopLevelOf(HWND hwnd) {
    for (auto w = FindWindowLocked(hwnd); w; w = FindWindowLocked(w->parent)) {
        if (!(w->style & WS_CHILD) || w->parent == NULL) return w->hwnd;
    }
    return NULL;
}

void DestroyLocked(std::unique_lock<std::mutex>& lock, HWND hwnd) {
    auto win = FindWindowLocked(hwnd);
    if (!win || win->destroying) return;
    win->destroying = true;
    // Owned windows go first, then the window itself is told, then its children.
    std::vector<std::shared_ptr<Window>> owned;
    for (auto& kv : S().windows) {
        if (kv.second->owner == hwnd && !kv.second->destroying) owned.push_back(kv.second);
    }
    std::sort(owned.begin(), owned.end(), [](auto& a, auto& b) { return a->order > b->order; });
    for (auto& o : owned) DestroyLocked(lock, o->hwnd);
    SendLocked(lock, hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children = win->children;
    for (HWND c : children) DestroyLocked(lock, c);
    SendLocked(lock, hwnd, WM_NCDESTROY, 0, 0);
    if (auto parent = FindWindowLocked(win->parent)) {
        auto& ch = parent->children;
        ch.erase(std::remove(ch.begin(), ch.end(), hwnd), ch.end());
    }
    for (auto& t : S().allThreads) {
        if (t->focus == hwnd) t->focus = NULL;
        if (t->active == hwnd) t->active = NULL;
    }
    if (S().foreground == hwnd) S().foreground = NULL;
    S().windows.erase(hwnd);
}

bool PostLocked(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    Thread* target = nullptr;
    if (hwnd == NULL) {
        target = CurrentThread();
    } else {
        auto win = FindWindowLocked(hwnd);
        if (!win) {
            SetLastErrorLocked(ERROR_INVALID_WINDOW_HANDLE);
            return false;
        }
        target = win->thread;
    }
    if (target == nullptr || target->process->ended) return false;
    MSG m = MSG();
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = w;
    m.lParam = l;
    target->posted.push_back(m);
    target->cv.notify_all();
    return true;
}

bool TakeMessageLocked(Thread* t, HWND filter, UINT minMsg, UINT maxMsg, bool remove, MSG* out) {
    for (auto it = t->posted.begin(); it != t->posted.end(); ++it) {
        if (filter != NULL && it->hwnd != filter) continue;
        if ((minMsg != 0 || maxMsg != 0) && (it->message < minMsg || it->message > maxMsg)) continue;
        *out = *it;
        if (remove) t->posted.erase(it);
        return true;
    }
    // The quit request is seen once the queue has nothing else to give.
    if (t->quitPosted && filter == NULL && t->posted.empty()) {
        *out = MSG();
        out->message = WM_QUIT;
        out->wParam = static_cast<WPARAM>(t->quitCode);
        if (remove) t->quitPosted = false;
        return true;
    }
    return false;
}

}  // namespace winsim

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    Process* p = CurrentProcess();
    if (p == nullptr || lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr) return 0;
    std::string key = ClassKey(lpWndClass->lpszClassName, p->pid);
    if (S().classes.count(key)) {
        SetLastErrorLocked(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WndClass c;
    c.name = lpWndClass->lpszClassName;
    c.style = lpWndClass->style;
    c.proc = lpWndClass->lpfnWndProc;
    c.hInstance = lpWndClass->hInstance;
    c.icon = lpWndClass->hIcon;
    c.cursor = lpWndClass->hCursor;
    c.brush = lpWndClass->hbrBackground;
    c.cbWndExtra = lpWndClass->cbWndExtra;
    c.pid = p->pid;
    S().classes[key] = c;
    return static_cast<ATOM>(0xC000 + S().classes.size());
}

BOOL WINAPI GetClassInfoA(HINSTANCE, LPCSTR lpClassName, LPWNDCLASSA lpWndClass) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    Process* p = CurrentProcess();
    const WndClass* c = (p && lpClassName) ? FindClassLocked(lpClassName, p->pid) : nullptr;
    if (c == nullptr) {
        SetLastErrorLocked(ERROR_CANNOT_FIND_WND_CLASS);
        return FALSE;
    }
    *lpWndClass = WNDCLASSA();
    lpWndClass->style = c->style;
    lpWndClass->lpfnWndProc = c->proc;
    lpWndClass->hInstance = c->hInstance;
    lpWndClass->hIcon = c->icon;
    lpWndClass->hCursor = c->cursor;
    lpWndClass->hbrBackground = c->brush;
    lpWndClass->cbWndExtra = c->cbWndExtra;
    lpWndClass->lpszClassName = lpClassName;
    return TRUE;
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
    std::lock_guard<std::mutex> lock(S().mu);
    Process* p = CurrentProcess();
    return p && lpClassName && S().classes.erase(ClassKey(lpClassName, p->pid)) ? TRUE : FALSE;
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                            int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                            HINSTANCE hInstance, LPVOID lpParam) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    Thread* t = CurrentThread();
    if (t == nullptr) throw SimulationError("CreateWindowExA outside a simulated thread");
    if (S().refuseWindows) {
        SetLastErrorLocked(ERROR_NOT_ENOUGH_QUOTA);
        return NULL;
    }
    if (lpClassName == nullptr || IS_INTRESOURCE(lpClassName)) {
        SetLastErrorLocked(ERROR_CANNOT_FIND_WND_CLASS);
        return NULL;
    }
    const WndClass* cls = FindClassLocked(lpClassName, t->process->pid);
    if (cls == nullptr) {
        SetLastErrorLocked(ERROR_CANNOT_FIND_WND_CLASS);
        return NULL;
    }
    auto win = std::make_shared<Window>();
    win->hwnd = reinterpret_cast<HWND>(S().nextHandle);
    S().nextHandle += 4;
    win->className = cls->name;
    win->classStyle = cls->style;
    win->proc = cls->proc;
    win->text = lpWindowName ? lpWindowName : "";
    win->style = dwStyle;
    win->exStyle = dwExStyle;
    win->x = X;
    win->y = Y;
    win->cx = nWidth;
    win->cy = nHeight;
    win->createdWith = hWndParent;
    win->thread = t;
    win->pid = t->process->pid;
    win->hInstance = hInstance;
    win->order = S().nextOrder++;
    win->isDialog = Upper(cls->name) == "#32770";
    if (dwStyle & WS_CHILD) {
        auto parent = FindWindowLocked(hWndParent);
        if (!parent) {
            SetLastErrorLocked(ERROR_INVALID_WINDOW_HANDLE);
            return NULL;
        }
        win->parent = hWndParent;
        win->id = static_cast<int>(reinterpret_cast<LONG_PTR>(hMenu));
        parent->children.push_back(win->hwnd);
    } else if (hWndParent != NULL && hWndParent != kDesktop) {
        // A top-level window's owner is always a top-level window.
        win->owner = TopLevelOf(hWndParent);
    }
    HWND hwnd = win->hwnd;
    S().windows[hwnd] = win;

    CREATESTRUCTA cs = CREATESTRUCTA();
    cs.lpCreateParams = lpParam;
    cs.hInstance = hInstance;
    cs.hMenu = hMenu;
    cs.hwndParent = hWndParent;
    cs.cy = nHeight;
    cs.cx = nWidth;
    cs.y = Y;
    cs.x = X;
    cs.style = static_cast<LONG>(dwStyle);
    cs.lpszName = lpWindowName;
    cs.lpszClass = lpClassName;
    cs.dwExStyle = dwExStyle;
    if (!SendLocked(lock, hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        DestroyLocked(lock, hwnd);
        return NULL;
    }
    if (SendLocked(lock, hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyLocked(lock, hwnd);
        return NULL;
    }
    return FindWindowLocked(hwnd) ? hwnd : NULL;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    std::unique_lock<std::mutex> lock(S().mu);
    if (!CheckAlive(lock)) return FALSE;
    auto win = FindWindowLocked(hWnd);
    if (!win || hWnd == kDesktop) {
        SetLastErrorLocked(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (win->thread != CurrentThread()) {
        // Only the thread that created a window may destroy it.
        SetLastErrorLocked(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DestroyLocked(lock, hWnd);
    return TRUE;
}

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return CallProc(lpPrevWndFunc, hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    std::unique_lock<std::mutex> lock(S().mu);
    auto win = FindWindowLocked(hWnd);
    if (!win) return 0;
    switch (Msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_SETTEXT:
        win->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        return TRUE;
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(win->text.size());
    case WM_GETTEXT: {
        if (wParam == 0) return 0;
        size_t n = std::min(win->text.size(), static_cast<size_t>(wParam) - 1);
        std::memcpy(reinterpret_cast<char*>(lParam), win->text.data(), n);
        reinterpret_cast<char*>(lParam)[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_SETICON: {
        HICON old = wParam == ICON_BIG ? win->bigIcon : win->smallIcon;
        (wParam == ICON_BIG ? win->bigIcon : win->smallIcon) = reinterpret_cast<HICON>(lParam);
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON:
        return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? win->bigIcon : win->smallIcon);
    case WM_SETFONT:
        win->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(win->font);
    case WM_CLOSE:
        if (win->thread == CurrentThread()) DestroyLocked(lock, hWnd);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) SendLocked(lock, hWnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_QUERYDRAGICON:
        return 0;
    case WM_PAINT: {
        // Nothing to draw: the paint is only taken.
        lock.unlock();
        PAINTSTRUCT ps;
        if (BeginPaint(hWnd, &ps)) EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_ICONERASEBKGND: {
        // The desktop shows behind a minimised window's icon.
        lock.unlock();
        RECT rc;
        GetClientRect(hWnd, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1));
        return TRUE;
    }
    default:
        return 0;
    }
}

HWND WINAPI GetDesktopWindow() { return kDesktop; }

BOOL WINAPI IsWindow(HWND hWnd) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    return hWnd == kDesktop || FindWindowLocked(hWnd) != nullptr;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
    std::lock_guard<std::mutex> lock(S().mu);
    for (auto w = FindWindowLocked(hWnd); w; w = FindWindowLocked(w->parent)) {
        if (!(w->style & WS_VISIBLE)) return FALSE;
        if (!(w->style & WS_CHILD)) return TRUE;
    }
    return hWnd == kDesktop;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    return w && !(w->style & WS_DISABLED);
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    std::unique_lock<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    if (!w) return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
    if (bEnable) w->style &= ~static_cast<DWORD>(WS_DISABLED);
    else w->style |= WS_DISABLED;
    if (wasDisabled == (bEnable ? TRUE : FALSE)) SendLocked(lock, hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL WINAPI IsIconic(HWND hWnd) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    return w && w->iconic;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    S().calls.push_back("ShowWindow(" + std::to_string(reinterpret_cast<std::uintptr_t>(hWnd)) + "," +
                        std::to_string(nCmdShow) + ")");
    auto w = FindWindowLocked(hWnd);
    if (!w) return FALSE;
    BOOL wasVisible = (w->style & WS_VISIBLE) != 0;
    if (nCmdShow == SW_HIDE) w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    else w->style |= WS_VISIBLE;
    if (nCmdShow == SW_MINIMIZE) w->iconic = true;
    if (nCmdShow == SW_RESTORE || nCmdShow == SW_SHOWNORMAL) w->iconic = false;
    return wasVisible;
}

HWND WINAPI GetParent(HWND hWnd) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    if (!w) return NULL;
    return (w->style & WS_CHILD) ? w->parent : w->owner;
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    if (!w) return NULL;
    switch (uCmd) {
    case GW_OWNER:
        return w->owner;
    case GW_CHILD:
        return w->children.empty() ? NULL : w->children.front();
    case GW_HWNDNEXT: {
        auto parent = FindWindowLocked(w->parent);
        if (!parent || !(w->style & WS_CHILD)) return NULL;
        auto& ch = parent->children;
        auto it = std::find(ch.begin(), ch.end(), hWnd);
        return (it == ch.end() || it + 1 == ch.end()) ? NULL : *(it + 1);
    }
    default:
        return NULL;
    }
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    if (!w) {
        SetLastErrorLocked(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (nIndex) {
    case GWL_STYLE: return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->exStyle);
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->hInstance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>((w->style & WS_CHILD) ? w->parent : w->owner);
    case GWLP_ID: return w->id;
    case GWLP_USERDATA: return w->userData;
    default: {
        auto it = w->extra.find(nIndex);
        return it == w->extra.end() ? 0 : it->second;
    }
    }
}

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) { return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex)); }

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    if (!w) {
        SetLastErrorLocked(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LONG_PTR old = 0;
    switch (nIndex) {
    case GWL_STYLE: old = w->style; w->style = static_cast<DWORD>(dwNewLong); break;
    case GWL_EXSTYLE: old = w->exStyle; w->exStyle = static_cast<DWORD>(dwNewLong); break;
    case GWLP_WNDPROC:
        old = reinterpret_cast<LONG_PTR>(w->proc);
        w->proc = reinterpret_cast<WNDPROC>(dwNewLong);
        break;
    case GWLP_ID: old = w->id; w->id = static_cast<int>(dwNewLong); break;
    case GWLP_USERDATA: old = w->userData; w->userData = dwNewLong; break;
    default: old = w->extra[nIndex]; w->extra[nIndex] = dwNewLong; break;
    }
    return old;
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    if (!w || nMaxCount <= 0) return 0;
    size_t n = std::min(w->text.size(), static_cast<size_t>(nMaxCount - 1));
    std::memcpy(lpString, w->text.data(), n);
    lpString[n] = '\0';
    return static_cast<int>(n);
}

int WINAPI GetWindowTextLengthA(HWND hWnd) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    return w ? static_cast<int>(w->text.size()) : 0;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) != 0;
}

int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    std::string name = hWnd == kDesktop ? "#32769" : (w ? w->className : "");
    if ((!w && hWnd != kDesktop) || nMaxCount <= 0) return 0;
    size_t n = std::min(name.size(), static_cast<size_t>(nMaxCount - 1));
    std::memcpy(lpClassName, name.data(), n);
    lpClassName[n] = '\0';
    return static_cast<int>(n);
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    if (!w) return FALSE;
    lpRect->left = w->x;
    lpRect->top = w->y;
    lpRect->right = w->x + w->cx;
    lpRect->bottom = w->y + w->cy;
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    if (!w) return FALSE;
    lpRect->left = 0;
    lpRect->top = 0;
    lpRect->right = w->iconic ? w->minimizedCx : w->cx;
    lpRect->bottom = w->iconic ? w->minimizedCy : w->cy;
    return TRUE;
}

DWORD WINAPI GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto w = FindWindowLocked(hWnd);
    if (!w) return 0;
    if (lpdwProcessId) *lpdwProcessId = w->pid;
    return w->thread ? w->thread->tid : 0;
}

HWND WINAPI FindWindowExA(HWND hWndParent, HWND hWndChildAfter, LPCSTR lpszClass, LPCSTR lpszWindow) {
    std::unique_lock<std::mutex> lock(S().mu);
    CheckAlive(lock);
    auto text = [](LPCSTR p) -> std::string {
        return p == nullptr ? "NULL" : IS_INTRESOURCE(p) ? "#atom" : "\"" + std::string(p) + "\"";
    };
    S().calls.push_back("FindWindowExA(" + text(lpszClass) + "," + text(lpszWindow) + ")");
    std::vector<std::shared_ptr<Window>> list;
    for (auto& kv : S().windows) {
        const Window& w = *kv.second;
        bool topLevel = !(w.style & WS_CHILD);
        if (hWndParent == NULL || hWndParent == kDesktop) {
            if (!topLevel) continue;
        } else if (w.parent != hWndParent || topLevel) {
            continue;
        }
        list.push_back(kv.second);
    }
    std::sort(list.begin(), list.end(), [](auto& a, auto& b) { return a->order < b->order; });
    bool started = hWndChildAfter == NULL;
    for (auto& w : list) {
        if (!started) {
            started = w->hwnd == hWndChildAfter;
            continue;
        }
        if (lpszClass != nullptr && !IS_INTRESOURCE(lpszClass) && Upper(w->className) != Upper(lpszClass)) continue;
        if (lpszWindow != nullptr && Upper(w->text) != Upper(lpszWindow)) continue;
        return w->hwnd;
    }
    SetLastErrorLocked(0);
    return NULL;
}

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
    std::lock_guard<std::mutex> lock(S().mu);
    S().calls.push_back("SetForegroundWindow(" + std::to_string(reinterpret_cast<std::uintptr_t>(hWnd)) + ")");
    if (!FindWindowLocked(hWnd)) return FALSE;
    S().foreground = hWnd;
    return TRUE;
}

HWND WINAPI GetForegroundWindow() {
    std::lock_guard<std::mutex> lock(S().mu);
    return S().foreground;
}

HWND WINAPI SetActiveWindow(HWND hWnd) {
    std::lock_guard<std::mutex> lock(S().mu);
    S().calls.push_back("SetActiveWindow(" + std::to_string(reinterpret_cast<std::uintptr_t>(hWnd)) + ")");
    Thread* t = CurrentThread();
    auto w = FindWindowLocked(hWnd);
    if (t == nullptr || !w) return NULL;
    HWND previous = t->active;
    // Only a window of the calling thread can become its active window.
    if (w->thread == t) t->active = hWnd;
    return previous;
}

HWND WINAPI GetActiveWindow() {
    std::lock_guard<std::mutex> lock(S().mu);
    Thread* t = CurrentThread();
    return (t && FindWindowLocked(t->active)) ? t->active : NULL;
}

HWND WINAPI SetFocus(HWND hWnd) {
    std::unique_lock<std::mutex> lock(S().mu);
    Thread* t = CurrentThread();
    if (t == nullptr) return NULL;
    HWND previous = t->focus;
    if (hWnd != NULL && !FindWindowLocked(hWnd)) return NULL;
    t->focus = hWnd;
    if (previous != NULL && previous != hWnd) SendLocked(lock, previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (hWnd != NULL && previous != hWnd) SendLocked(lock, hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND WINAPI GetFocus() {
    std::lock_guard<std::mutex> lock(S().mu);
    Thread* t = CurrentThread();
    return (t && FindWindowLocked(t->focus)) ? t->focus : NULL;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    std::unique_lock<std::mutex> lock(S().mu);
    if (!CheckAlive(lock)) return FALSE;
    if (Msg == WM_COMMAND) S().calls.push_back("PostMessageA(WM_COMMAND," + std::to_string(wParam) + ")");
    return PostLocked(hWnd, Msg, wParam, lParam) ? TRUE : FALSE;
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    std::unique_lock<std::mutex> lock(S().mu);
    if (!CheckAlive(lock)) return 0;
    return SendLocked(lock, hWnd, Msg, wParam, lParam);
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    std::unique_lock<std::mutex> lock(S().mu);
    Thread* t = CurrentThread();
    if (t == nullptr) throw SimulationError("GetMessageA outside a simulated thread");
    MSG m;
    if (!WaitFor(lock, t, "GetMessageA", [&]() { return TakeMessageLocked(t, hWnd, wMsgFilterMin, wMsgFilterMax, true, &m); })) {
        *lpMsg = MSG();
        lpMsg->message = WM_QUIT;
        return FALSE;
    }
    *lpMsg = m;
    return m.message != WM_QUIT;
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    std::unique_lock<std::mutex> lock(S().mu);
    Thread* t = CurrentThread();
    if (t == nullptr || !CheckAlive(lock)) return FALSE;
    return TakeMessageLocked(t, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0, lpMsg);
}

BOOL WINAPI TranslateMessage(const MSG*) { return FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    std::unique_lock<std::mutex> lock(S().mu);
    if (!CheckAlive(lock) || lpMsg->hwnd == NULL) return 0;
    auto w = FindWindowLocked(lpMsg->hwnd);
    if (!w) return 0;
    return SendLocked(lock, lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

void WINAPI PostQuitMessage(int nExitCode) {
    std::lock_guard<std::mutex> lock(S().mu);
    Thread* t = CurrentThread();
    if (t == nullptr) return;
    t->quitPosted = true;
    t->quitCode = nExitCode;
    t->cv.notify_all();
}

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT*, BOOL) { return IsWindow(hWnd); }
