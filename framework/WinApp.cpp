// CWinApp and CWinThread: program start-up, the message loop, shut-down and worker threads.
#include "WinApp.h"

#include "Sync.h"

namespace {
// The application object of the program the calling thread belongs to. It is set by the
// application's constructor on the program's first thread and handed on to every thread the
// library starts, so each program (and each simulated program in the host tests) sees its own.
CThreadSlot<CWinApp>& CurrentApp() {
    static CThreadSlot<CWinApp> slot;
    return slot;
}
}  // namespace

CWinThread::CWinThread() : m_pMainWnd(nullptr), m_hThread(NULL), m_nThreadID(0), m_bAutoDelete(TRUE) {}

CWinThread::~CWinThread() {
    if (m_hThread != NULL) CloseHandle(m_hThread);
}

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_hInstance(NULL), m_lpCmdLine(NULL), m_nCmdShow(0), m_pszAppName(lpszAppName), m_msgCur() {
    CurrentApp().Set(this);
}

CWinApp::~CWinApp() {
    if (CurrentApp().Get() == this) CurrentApp().Set(nullptr);
}

const AFX_MSGMAP* CWinApp::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWinApp::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
    for (;;) {
        BOOL bRet = GetMessageA(&m_msgCur, NULL, 0, 0);
        if (bRet == 0 || bRet == -1) break;
        TranslateMessage(&m_msgCur);
        DispatchMessageA(&m_msgCur);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

BOOL CWinApp::Enable3dControlsStatic() {
    // The system itself draws dialogs and message boxes with three-dimensional controls; no
    // separate controls library is linked, so there is nothing to register.
    return FALSE;
}

void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() { return CurrentApp().Get(); }

HINSTANCE AfxGetInstanceHandle() {
    CWinApp* pApp = AfxGetApp();
    return (pApp != nullptr && pApp->m_hInstance != NULL) ? pApp->m_hInstance : GetModuleHandleA(NULL);
}

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

int AfxWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPSTR lpCmdLine, int nCmdShow) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    pApp->m_nThreadID = GetCurrentThreadId();
    if (pApp->m_pszAppName == NULL) {
        // Derive the name from the program's file name, without folder and extension.
        char szPath[MAX_PATH + 1] = "";
        GetModuleFileNameA(hInstance, szPath, MAX_PATH + 1);
        CString strName(szPath);
        strName = strName.Mid(strName.ReverseFind('\\') + 1);
        int nDot = strName.ReverseFind('.');
        if (nDot > 0) strName = strName.Left(nDot);
        pApp->m_strAppName = strName;
        pApp->m_pszAppName = pApp->m_strAppName;
    }
    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd != nullptr) pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}

namespace {
struct ThreadStart {
    CWinThread* pThread;
    AFX_THREADPROC pfn;
    LPVOID pParam;
    CWinApp* pApp;
};

DWORD WINAPI AfxThreadEntry(LPVOID p) {
    ThreadStart start = *static_cast<ThreadStart*>(p);
    delete static_cast<ThreadStart*>(p);
    CurrentApp().Set(start.pApp);
    // The library's thread object goes with the thread, however the thread ends.
    struct AutoDelete {
        CWinThread* pThread;
        ~AutoDelete() {
            if (pThread->m_bAutoDelete) delete pThread;
        }
    } autoDelete{start.pThread};
    return start.pfn(start.pParam);
}
}  // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                           UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    CWinThread* pThread = new CWinThread;
    ThreadStart* pStart = new ThreadStart{pThread, pfnThreadProc, pParam, AfxGetApp()};
    // Start suspended so that the object is complete before the thread can end and delete it.
    DWORD dwThreadID = 0;
    HANDLE hThread = CreateThread(lpSecurityAttrs, nStackSize, AfxThreadEntry, pStart,
                                  dwCreateFlags | CREATE_SUSPENDED, &dwThreadID);
    if (hThread == NULL) {
        delete pStart;
        delete pThread;
        return nullptr;
    }
    pThread->m_hThread = hThread;
    pThread->m_nThreadID = dwThreadID;
    SetThreadPriority(hThread, nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED)) ResumeThread(hThread);
    return pThread;
}
