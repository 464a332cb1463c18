// CWnd: binding window objects to system windows, message dispatch through the message maps,
// and the main-window rule on destruction.
#include "Wnd.h"

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>

#include "WinApp.h"

namespace {
// Window objects by handle. Windows are created and handled on their own thread, but the maps
// are shared by all threads of the program, so they are guarded.
std::mutex g_mapLock;
std::map<HWND, CWnd*>& PermanentMap() {
    static std::map<HWND, CWnd*> map;
    return map;
}
std::map<HWND, std::unique_ptr<CWnd>>& TemporaryMap() {
    static std::map<HWND, std::unique_ptr<CWnd>> map;
    return map;
}

// The object whose system window is being created on this thread; bound on its first message.
thread_local CWnd* t_pWndInit = nullptr;
}  // namespace

CWnd::CWnd() : m_hWnd(NULL), m_msgCur() {}

CWnd::~CWnd() {
    if (m_hWnd != NULL && IsWindow(m_hWnd)) DestroyWindow();
    if (m_hWnd != NULL) Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    std::lock_guard<std::mutex> lock(g_mapLock);
    auto it = PermanentMap().find(hWnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == NULL) return nullptr;
    if (CWnd* p = FromHandlePermanent(hWnd)) return p;
    std::lock_guard<std::mutex> lock(g_mapLock);
    std::unique_ptr<CWnd>& slot = TemporaryMap()[hWnd];
    if (!slot) {
        slot.reset(new CWnd);
        slot->m_hWnd = hWnd;
    }
    return slot.get();
}

BOOL CWnd::Attach(HWND hWnd) {
    if (hWnd == NULL || m_hWnd != NULL) return FALSE;
    std::lock_guard<std::mutex> lock(g_mapLock);
    PermanentMap()[hWnd] = this;
    // A temporary object for the same handle would now be stale.
    auto it = TemporaryMap().find(hWnd);
    if (it != TemporaryMap().end()) it->second->m_hWnd = NULL, TemporaryMap().erase(it);
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != NULL) {
        std::lock_guard<std::mutex> lock(g_mapLock);
        auto it = PermanentMap().find(hWnd);
        if (it != PermanentMap().end() && it->second == this) PermanentMap().erase(it);
    }
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
    t_pWndInit = this;
    HWND hWnd = CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth,
                                nHeight, hWndParent, nIDorHMenu, AfxGetInstanceHandle(), lpParam);
    if (t_pWndInit == this) t_pWndInit = nullptr;
    // A class whose procedure is not ours never sends us a message: bind it here.
    if (hWnd != NULL && m_hWnd == NULL) Attach(hWnd);
    return hWnd != NULL;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == NULL) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
    CWinApp* pApp = AfxGetApp();
    if (lpszCaption == NULL && pApp != nullptr) lpszCaption = pApp->m_pszAppName;
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }

void CWnd::GetWindowText(CString& rString) const {
    int nLen = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBuffer(nLen), nLen + 1);
    rString.ReleaseBuffer();
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult)) lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    if (const AFX_MSGMAP_ENTRY* e = FindMessageEntry(message)) {
        *pResult = e->pfn(this, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

LRESULT CWnd::Default() { return DefWindowProc(m_msgCur.message, m_msgCur.wParam, m_msgCur.lParam); }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

void CWnd::PostNcDestroy() {}

void CWnd::OnNcDestroy() {
    // The main-window rule: losing the application's main window ends its message loop.
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        PostQuitMessage(0);
        pApp->m_pMainWnd = nullptr;
    }
    Detach();
    PostNcDestroy();
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    MSG msgOld = pWnd->m_msgCur;
    pWnd->m_msgCur.hwnd = hWnd;
    pWnd->m_msgCur.message = nMsg;
    pWnd->m_msgCur.wParam = wParam;
    pWnd->m_msgCur.lParam = lParam;
    LRESULT lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    pWnd->m_msgCur = msgOld;
    if (nMsg == WM_NCDESTROY) pWnd->OnNcDestroy();  // may delete pWnd
    return lResult;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr && t_pWndInit != nullptr) {
        pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->Attach(hWnd);
    }
    if (pWnd == nullptr) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    thread_local char szName[96];
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (hCursor == NULL && hbrBackground == NULL && hIcon == NULL) {
        std::snprintf(szName, sizeof szName, "Afx:%p:%x", static_cast<void*>(hInst), nClassStyle);
    } else {
        std::snprintf(szName, sizeof szName, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(hInst),
                      nClassStyle, static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
                      static_cast<void*>(hIcon));
    }
    WNDCLASSA wc;
    if (!GetClassInfoA(hInst, szName, &wc)) {
        wc = WNDCLASSA();
        wc.style = nClassStyle;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = hInst;
        wc.hIcon = hIcon;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.lpszClassName = szName;
        RegisterClassA(&wc);
    }
    return szName;
}
