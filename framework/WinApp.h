// CWinThread and CWinApp: the application object with its start-up and shut-down virtuals
// and message loop; worker threads; the library's global accessors and program entry.
#pragma once

#include "CmdTarget.h"
#include "Wnd.h"

class CWinThread : public CCmdTarget {
public:
    CWinThread();
    ~CWinThread() override;

    CWnd* m_pMainWnd;      // the thread's main window, or NULL
    HANDLE m_hThread;      // the system thread, or NULL
    DWORD m_nThreadID;     // its id
    BOOL m_bAutoDelete;    // the library deletes the object when the thread ends
};

class CWinApp : public CWinThread {
public:
    // A NULL name lets the library derive one from the program's file name.
    explicit CWinApp(LPCSTR lpszAppName = NULL);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // Runs the message loop until WM_QUIT, then returns ExitInstance().
    virtual int Run();
    // Returns the exit code carried by the last WM_QUIT (0 when none arrived).
    virtual int ExitInstance();

    // Registers the application with the three-dimensional controls library.
    BOOL Enable3dControlsStatic();

    // ID_HELP: the launcher ships no help file, so help requests are accepted and ignored.
    void OnHelp();

    HINSTANCE m_hInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;
    LPCSTR m_pszAppName;
    MSG m_msgCur;

protected:
    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

private:
    friend int AfxWinMain(HINSTANCE, HINSTANCE, LPSTR, int);
    CString m_strAppName;  // holds the derived name that m_pszAppName points to
};

#define ID_HELP 0xE146

// The application object of the calling thread's program (NULL before it is constructed).
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// The library's program entry: initialises the application object, runs InitInstance and
// then either the message loop or (InitInstance failed) ExitInstance; the result is the
// process exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

typedef UINT (*AFX_THREADPROC)(LPVOID);
// Starts a worker thread running pfnThreadProc(pParam). The returned object belongs to the
// library and is deleted when the thread ends; NULL when the thread could not be created.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
