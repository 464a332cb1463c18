// Start-up and run modes: which mode a command line selects, the hidden main window, the quit
// command, and the ways start-up can end early.
#include <gtest/gtest.h>

#include <algorithm>

#include "LauncherHarness.h"
#include "LauncherWnd.h"

namespace {

using test::WorldTest;

// The first thing each mode does is look for a window: a running installer for the setup run,
// a showing Services dialog for the applet.
const char kSetupSearch[] = "FindWindowExA(\"InstallShield_Win\",NULL)";
const char kAppletSearch[] = "FindWindowExA(\"#32770\",\"Corvane Services\")";

bool Called(const std::string& call) {
    auto calls = winsim::World::Get().Calls();
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

class StartupTest : public WorldTest {};

TEST_F(StartupTest, CommandLineSelectsTheRunMode) {
    struct Row {
        const char* commandLine;  // whole command line as the system hands it over
        bool applet;
        const char* args;         // m_lpCmdLine: the text after the program name and its blanks
    } rows[] = {
        {"\"C:\\MEDIA\\setup.exe\" -showdialog", true, "-showdialog"},
        {"\"C:\\MEDIA\\setup.exe\" -SHOWDIALOG", true, "-SHOWDIALOG"},
        {"\"C:\\MEDIA\\setup.exe\" -ShowDialog", true, "-ShowDialog"},
        {"C:\\MEDIA\\setup.exe     -showdialog", true, "-showdialog"},  // blanks are not arguments
        {"\"C:\\MEDIA\\setup.exe\" -showdialog ", false, "-showdialog "},  // trailing blank kept
        {"\"C:\\MEDIA\\setup.exe\" x -showdialog", false, "x -showdialog"},
        {"\"C:\\MEDIA\\setup.exe\" -showdialogx", false, "-showdialogx"},
        {"\"C:\\MEDIA\\setup.exe\"", false, ""},
        {"setup", false, ""},
    };
    for (const Row& row : rows) {
        world().Reset();
        world().AddFile(test::kSetupExe);
        world().SetUser(test::EscapeEverything());
        std::string seen = "(not reached)";
        test::LauncherOptions o;
        o.programName = row.commandLine;
        o.atEnd = [&seen](CSetupApp& app) { seen = app.m_lpCmdLine; };
        EXPECT_EQ(0u, test::RunLauncher(o)) << row.commandLine;
        EXPECT_EQ(row.args, seen) << row.commandLine;
        EXPECT_EQ(row.applet, Called(kAppletSearch)) << row.commandLine;
        EXPECT_EQ(!row.applet, Called(kSetupSearch)) << row.commandLine;
    }
}

// Start-up inspected from inside: the test thread runs as the launcher's process and calls
// InitInstance itself, so the hidden window can be looked at before the loop runs.
class StartupInsideTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        m_scope.reset(new winsim::World::ProcessScope(test::LauncherProcess()));
        world().SetUser(test::EscapeEverything());
        m_app.reset(new CSetupApp);
        m_app->m_hInstance = GetModuleHandleA(NULL);
        m_app->m_lpCmdLine = m_cmdLine;
    }
    void TearDown() override {
        m_app.reset();
        m_scope.reset();
        WorldTest::TearDown();
    }
    char m_cmdLine[16] = "";
    std::unique_ptr<winsim::World::ProcessScope> m_scope;
    std::unique_ptr<CSetupApp> m_app;
};

TEST_F(StartupInsideTest, HiddenWindowHasTheFixedAttributes) {
    ASSERT_TRUE(m_app->InitInstance());
    ASSERT_NE(nullptr, m_app->m_pLauncherWnd);
    EXPECT_EQ(static_cast<CWnd*>(m_app->m_pLauncherWnd), m_app->m_pMainWnd);
    winsim::WindowView v;
    ASSERT_TRUE(world().GetWindowView(m_app->m_pLauncherWnd->m_hWnd, &v));
    EXPECT_EQ(static_cast<UINT>(CS_PARENTDC), v.classStyle);
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP), v.style);
    EXPECT_EQ(0u, v.exStyle);
    EXPECT_EQ("", v.text);
    EXPECT_EQ(0, v.x);
    EXPECT_EQ(0, v.y);
    EXPECT_EQ(10, v.cx);
    EXPECT_EQ(10, v.cy);
    EXPECT_EQ(GetDesktopWindow(), v.createdWith);
    EXPECT_FALSE(IsWindowVisible(v.hwnd));
    EXPECT_EQ(0u, v.className.find("Afx:"));
    m_app->ExitInstance();
    EXPECT_EQ(nullptr, m_app->m_pLauncherWnd);
    EXPECT_FALSE(IsWindow(v.hwnd));
}

TEST_F(StartupInsideTest, QuitCommandEndsTheRunOnlyAsTheWholeWordParameter) {
    struct Row {
        WPARAM wParam;
        LPARAM lParam;
        bool ends;
    } rows[] = {
        {ID_LAUNCHER_QUIT, 0, true},
        {ID_LAUNCHER_QUIT, 0x1234, true},                 // any long parameter
        {MAKEWPARAM(ID_LAUNCHER_QUIT, 1), 0, false},      // a notification code is not the quit
        {MAKEWPARAM(ID_LAUNCHER_QUIT, BN_CLICKED + 5), 0, false},
        {665, 0, false},
        {667, 0, false},
    };
    for (const Row& row : rows) {
        CLauncherWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(CS_PARENTDC), "", WS_POPUP, 0, 0, 10, 10,
                                 GetDesktopWindow(), NULL));
        m_app->m_pMainWnd = &wnd;
        HWND hwnd = wnd.m_hWnd;
        SendMessageA(hwnd, WM_COMMAND, row.wParam, row.lParam);
        EXPECT_EQ(!row.ends, IsWindow(hwnd) != FALSE) << row.wParam;
        // Destroying the main window asks the loop to end with code 0 and clears the pointer.
        MSG msg;
        bool quit = PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE) && msg.message == WM_QUIT;
        EXPECT_EQ(row.ends, quit) << row.wParam;
        if (quit) {
            EXPECT_EQ(0u, msg.wParam);
        }
        EXPECT_EQ(row.ends, m_app->m_pMainWnd == nullptr) << row.wParam;
        m_app->m_pMainWnd = nullptr;
    }
}

TEST_F(StartupTest, QuitPostedDuringStartUpEndsTheLoopAsSoonAsItRuns) {
    // Both modes end here before the loop runs: the quit command waits in the queue during
    // InitInstance (installer missing and declined; applet quit).
    world().SetUser(test::EscapeEverything());
    EXPECT_EQ(0u, test::RunLauncher(""));
    EXPECT_EQ(0u, test::RunLauncher("-showdialog"));
    EXPECT_TRUE(world().Windows().empty());
}

TEST_F(StartupTest, RefusedHiddenWindowEndsStartUpWithoutLoop) {
    world().RefuseWindowCreation(true);
    int exitInstanceSaw = -1;
    test::LauncherOptions o;
    o.atEnd = [&](CSetupApp& app) { exitInstanceSaw = app.m_pLauncherWnd == nullptr ? 1 : 0; };
    EXPECT_EQ(0u, test::RunLauncher(o));
    EXPECT_EQ(1, exitInstanceSaw);
    EXPECT_FALSE(Called(kSetupSearch));  // no run mode was entered
    EXPECT_TRUE(world().Windows().empty());
}

}  // namespace
