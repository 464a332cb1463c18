// CWnd: binding window objects to system windows, message dispatch through the message maps,
// and the main-window rule on destruction.
#include "Wnd.h"

#include "Sync.h"
#include "WinApp.h"

namespace {
// Window objects by handle. Windows are created and handled on their own thread, but the map is
// shared by all threads of the program, so it is guarded. A program has a handful of windows:
// a short list searched from the front is all it needs.
struct HandleMapEntry {
    HWND hWnd;
    CWnd* pWnd;
    bool bTemporary;  // made by FromHandle for a window nobody bound; owned by the map
};

class CHandleMap {
public:
    CWnd* FindPermanent(HWND hWnd) {
        CScopedLock lock(m_lock);
        int i = Find(hWnd);
        return i >= 0 && !m_entries[i].bTemporary ? m_entries[i].pWnd : nullptr;
    }
    CWnd* FindOrMakeTemporary(HWND hWnd) {
        CScopedLock lock(m_lock);
        int i = Find(hWnd);
        if (i >= 0) return m_entries[i].pWnd;
        CWnd* pWnd = new CWnd;
        pWnd->m_hWnd = hWnd;
        Add({hWnd, pWnd, true});
        return pWnd;
    }
    // Binds pWnd to hWnd, retiring a temporary object made for the same handle.
    void Bind(HWND hWnd, CWnd* pWnd) {
        CScopedLock lock(m_lock);
        int i = Find(hWnd);
        if (i >= 0) {
            if (m_entries[i].bTemporary) {
                m_entries[i].pWnd->m_hWnd = NULL;
                delete m_entries[i].pWnd;
            }
            m_entries[i] = {hWnd, pWnd, false};
        } else {
            Add({hWnd, pWnd, false});
        }
    }
    void Unbind(HWND hWnd, CWnd* pWnd) {
        CScopedLock lock(m_lock);
        int i = Find(hWnd);
        if (i >= 0 && m_entries[i].pWnd == pWnd) m_entries[i] = m_entries[--m_nCount];
    }

private:
    int Find(HWND hWnd) const {
        for (int i = 0; i < m_nCount; ++i) {
            if (m_entries[i].hWnd == hWnd) return i;
        }
        return -1;
    }
    void Add(const HandleMapEntry& entry) {
        if (m_nCount == m_nCapacity) {
            int nNew = m_nCapacity == 0 ? 8 : m_nCapacity * 2;
            HandleMapEntry* p = new HandleMapEntry[nNew];
            for (int i = 0; i < m_nCount; ++i) p[i] = m_entries[i];
            delete[] m_entries;
            m_entries = p;
            m_nCapacity = nNew;
        }
        m_entries[m_nCount++] = entry;
    }

    CCriticalSection m_lock;
    HandleMapEntry* m_entries = nullptr;
    int m_nCount = 0;
    int m_nCapacity = 0;
};

CHandleMap& HandleMap() {
    static CHandleMap map;
    return map;
}

// The names of the window classes the library registered. A class stays registered for the
// program's life, and so does its name: callers may hold on to it.
class CClassNameList {
public:
    ~CClassNameList() {
        for (int i = 0; i < m_nCount; ++i) delete[] m_names[i];
        delete[] m_names;
    }
    LPCSTR Intern(LPCSTR pszName) {
        CScopedLock lock(m_lock);
        for (int i = 0; i < m_nCount; ++i) {
            if (lstrcmpA(m_names[i], pszName) == 0) return m_names[i];
        }
        if (m_nCount == m_nCapacity) {
            int nNew = m_nCapacity == 0 ? 4 : m_nCapacity * 2;
            char** p = new char*[nNew];
            for (int i = 0; i < m_nCount; ++i) p[i] = m_names[i];
            delete[] m_names;
            m_names = p;
            m_nCapacity = nNew;
        }
        char* pszCopy = new char[lstrlenA(pszName) + 1];
        lstrcpyA(pszCopy, pszName);
        m_names[m_nCount++] = pszCopy;
        return pszCopy;
    }

private:
    CCriticalSection m_lock;
    char** m_names = nullptr;
    int m_nCount = 0;
    int m_nCapacity = 0;
};

CClassNameList& ClassNames() {
    static CClassNameList list;
    return list;
}

// The object whose system window is being created on this thread; bound on its first message.
CThreadSlot<CWnd>& WndInit() {
    static CThreadSlot<CWnd> slot;
    return slot;
}
}  // namespace

CWnd::CWnd() : m_hWnd(NULL), m_msgCur() {}

CWnd::~CWnd() {
    if (m_hWnd != NULL && IsWindow(m_hWnd)) DestroyWindow();
    if (m_hWnd != NULL) Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return hWnd == NULL ? nullptr : HandleMap().FindPermanent(hWnd); }

CWnd* CWnd::FromHandle(HWND hWnd) { return hWnd == NULL ? nullptr : HandleMap().FindOrMakeTemporary(hWnd); }

BOOL CWnd::Attach(HWND hWnd) {
    if (hWnd == NULL || m_hWnd != NULL) return FALSE;
    HandleMap().Bind(hWnd, this);
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != NULL) HandleMap().Unbind(hWnd, this);
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
    WndInit().Set(this);
    HWND hWnd = CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth,
                                nHeight, hWndParent, nIDorHMenu, AfxGetInstanceHandle(), lpParam);
    if (WndInit().Get() == this) WndInit().Set(nullptr);
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
    if (pWnd == nullptr && WndInit().Get() != nullptr) {
        pWnd = WndInit().Get();
        WndInit().Set(nullptr);
        pWnd->Attach(hWnd);
    }
    if (pWnd == nullptr) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    char szName[96];
    HINSTANCE hInst = AfxGetInstanceHandle();
    auto number = [](const void* p) { return static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(p)); };
    if (hCursor == NULL && hbrBackground == NULL && hIcon == NULL) {
        wsprintfA(szName, "Afx:%lx:%x", number(hInst), nClassStyle);
    } else {
        wsprintfA(szName, "Afx:%lx:%x:%lx:%lx:%lx", number(hInst), nClassStyle, number(hCursor),
                  number(hbrBackground), number(hIcon));
    }
    LPCSTR pszName = ClassNames().Intern(szName);
    WNDCLASSA wc;
    if (!GetClassInfoA(hInst, pszName, &wc)) {
        wc = WNDCLASSA();
        wc.style = nClassStyle;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = hInst;
        wc.hIcon = hIcon;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.lpszClassName = pszName;
        RegisterClassA(&wc);
    }
    return pszName;
}
