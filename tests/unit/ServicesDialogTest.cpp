// The Services applet's life: what happens while it shows, who ends it, and how the run ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include <commdlg.h>

#include "LauncherHarness.h"
#include "ServicesDlg.h"
#include "StandInEngine.h"

namespace {

using test::EngineScript;
using test::WorldTest;
using winsim::ModalView;
using winsim::UserAnswer;

// What the user does while the applet shows; runs on the launcher's user-interface thread.
using DialogAct = std::function<void(HWND hDlg)>;

void Click(HWND hDlg, int id) { SendMessageA(GetDlgItem(hDlg, id), BM_CLICK, 0, 0); }
void Key(HWND hDlg, int vk) { PostMessageA(hDlg, WM_KEYDOWN, static_cast<WPARAM>(vk), 0); }

// A user who acts on the applet as given and answers other boxes from a list.
winsim::UserHandler ActOnApplet(DialogAct act, std::vector<UserAnswer> others = {}) {
    auto rest = test::AnswerInOrder(std::move(others));
    return [act, rest](const ModalView& v) {
        if (v.kind == ModalView::kDialog && v.caption == "Corvane Services") {
            UserAnswer a;
            HWND hDlg = v.hwnd;
            a.act = [act, hDlg]() { act(hDlg); };
            return a;
        }
        return rest(v);
    };
}

std::vector<std::string> EndingCalls() {
    std::vector<std::string> out;
    for (const std::string& c : winsim::World::Get().Calls()) {
        if (c.rfind("EndDialog", 0) == 0 || c == "PostMessageA(WM_COMMAND,666)") out.push_back(c);
    }
    return out;
}

const std::string kQuit = "PostMessageA(WM_COMMAND,666)";
const std::string kCancelled = "EndDialog(2)";
const std::string kLaunched = "EndDialog(" + std::to_string(SERVICES_RESULT_LAUNCHED) + ")";

class ServicesDialogTest : public WorldTest {
protected:
    UINT RunApplet() { return test::RunLauncher("-showdialog"); }
};

TEST_F(ServicesDialogTest, EveryEndWithoutALaunchEndsTheRun) {
    struct Row {
        const char* why;
        DialogAct act;
        std::vector<std::string> endings;
    } rows[] = {
        {"Quit Applet", [](HWND h) { Click(h, IDCANCEL); }, {kCancelled, kQuit}},
        {"Esc", [](HWND h) { Key(h, VK_ESCAPE); }, {kCancelled, kQuit}},
        {"the close box", [](HWND h) { SendMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); }, {kCancelled, kQuit}},
        {"Enter (no default button: IDOK)", [](HWND h) { Key(h, VK_RETURN); }, {"EndDialog(1)", kQuit}},
    };
    for (const Row& row : rows) {
        world().Reset();
        world().AddFile(test::kSetupExe);
        world().SetUser(ActOnApplet(row.act));
        EXPECT_EQ(0u, RunApplet()) << row.why;
        EXPECT_EQ(row.endings, EndingCalls()) << row.why;
        EXPECT_TRUE(world().Windows().empty()) << row.why;
        for (const std::string& e : world().SimulationErrors()) ADD_FAILURE() << row.why << ": " << e;
    }
}

TEST_F(ServicesDialogTest, DialogThatCannotBeCreatedEndsTheRun) {
    world().RefuseDialogCreation(true);
    EXPECT_EQ(0u, RunApplet());
    EXPECT_EQ(std::vector<std::string>{kQuit}, EndingCalls());
}

TEST_F(ServicesDialogTest, RemoveServicesWithTheInstallerStartedWaitsForItsCompletion) {
    EngineScript e;
    e.completion = EngineScript::kSetWhenTold;
    test::InstallEngine(test::kMediaDir, e);
    world().SetUser(ActOnApplet([](HWND h) { Click(h, IDC_REMOVE_SERVICES); }));
    DWORD pid = test::StartLauncher([] {
        test::LauncherOptions o;
        o.args = "-showdialog";
        return o;
    }());
    ASSERT_TRUE(world().WaitUntil([&]() { return world().ThreadsWaiting(pid) == 1; }));
    // The dialog is gone and nothing has ended the run yet.
    EXPECT_EQ(std::vector<std::string>{kLaunched}, EndingCalls());
    EXPECT_TRUE(FindWindowExA(NULL, NULL, "#32770", "Corvane Services") == NULL);
    ASSERT_TRUE(test::TellEngine());
    UINT code = 99;
    ASSERT_TRUE(test::WaitLauncher(pid, &code));
    EXPECT_EQ(0u, code);
    EXPECT_EQ((std::vector<std::string>{kLaunched, kQuit}), EndingCalls());
    auto started = world().Started();
    ASSERT_EQ(1u, started.size());
    EXPECT_EQ("C:\\MEDIA\\ishield.app -uninstall", started[0].commandLine);
}

TEST_F(ServicesDialogTest, FailedStartIsReportedOverTheAppletAndEndsTheRunInTwoSteps) {
    test::InstallEngine(test::kMediaDir);
    world().RefuseProcessCreation(true);
    HWND hApplet = NULL;
    world().SetUser(ActOnApplet([&](HWND h) {
        hApplet = h;
        Click(h, IDC_REMOVE_SERVICES);
    }, {test::Press(IDOK)}));
    EXPECT_EQ(0u, RunApplet());
    auto modals = world().ShownModals();
    ASSERT_EQ(2u, modals.size());
    EXPECT_EQ("Error", modals[1].caption);
    EXPECT_EQ(hApplet, modals[1].owner) << "the failure box belongs to the active window, the applet";
    // The first finish closes the applet, the second (after the modal run) ends the run.
    EXPECT_EQ((std::vector<std::string>{kCancelled, kQuit}), EndingCalls());
}

TEST_F(ServicesDialogTest, RunningInstallerIsReportedOverTheAppletAndEndsTheRun) {
    test::StartRunningEngine();
    HWND hApplet = NULL;
    world().SetUser(ActOnApplet([&](HWND h) {
        hApplet = h;
        Click(h, IDC_REMOVE_SERVICES);
    }, {test::Press(IDOK)}));
    EXPECT_EQ(0u, RunApplet());
    auto modals = world().ShownModals();
    ASSERT_EQ(2u, modals.size());
    EXPECT_EQ("There is already a version of Setup running.", modals[1].text);
    EXPECT_EQ(hApplet, modals[1].owner);
    EXPECT_EQ((std::vector<std::string>{kCancelled, kQuit}), EndingCalls());
    EXPECT_TRUE(world().StartRequests().empty());
}

TEST_F(ServicesDialogTest, GivingUpKeepsTheAppletAndTheNextPressStartsFromTheLastFolder) {
    std::vector<std::string> initialDirs;
    int boxes = 0;
    world().SetUser([&](const ModalView& v) -> UserAnswer {
        if (v.kind == ModalView::kDialog) {
            UserAnswer a;
            HWND h = v.hwnd;
            a.act = [h]() {
                Click(h, IDC_REMOVE_SERVICES);  // missing: Yes, browse to C:\OTHER, then No
                EXPECT_TRUE(IsWindowVisible(h)) << "the applet stays after the user gave up";
                Click(h, IDC_REMOVE_SERVICES);  // again: Yes, cancel the browse
                Click(h, IDCANCEL);
            };
            return a;
        }
        if (v.kind == ModalView::kOpenFile) {
            auto* ofn = static_cast<OPENFILENAMEA*>(v.record);
            initialDirs.push_back(ofn->lpstrInitialDir);
            return initialDirs.size() == 1 ? test::Confirm("C:\\OTHER\\ishield.app") : test::Cancel();
        }
        ++boxes;
        EXPECT_EQ("Corvane Services", [&] {
            char title[64] = "";
            GetWindowTextA(v.owner, title, sizeof title);
            return std::string(title);
        }()) << "the applet owns the question";
        return test::Press(boxes == 2 ? IDNO : IDYES);
    });
    EXPECT_EQ(0u, RunApplet());
    EXPECT_EQ((std::vector<std::string>{"C:\\MEDIA", "C:\\OTHER"}), initialDirs);
    EXPECT_EQ(3, boxes);
    EXPECT_EQ((std::vector<std::string>{kCancelled, kQuit}), EndingCalls());
}

TEST_F(ServicesDialogTest, CommandsCountByTheirLowWordOnly) {
    struct Row {
        WPARAM wParam;
        const char* commandLine;
    } rows[] = {
        {MAKEWPARAM(IDC_SETUP_SERVICES, 0), "C:\\MEDIA\\ishield.app"},
        {MAKEWPARAM(IDC_SETUP_SERVICES, 5), "C:\\MEDIA\\ishield.app"},
        {MAKEWPARAM(IDC_REMOVE_SERVICES, 7), "C:\\MEDIA\\ishield.app -uninstall"},
    };
    for (const Row& row : rows) {
        world().Reset();
        world().AddFile(test::kSetupExe);
        test::InstallEngine(test::kMediaDir);
        WPARAM w = row.wParam;
        world().SetUser(ActOnApplet([w](HWND h) { SendMessageA(h, WM_COMMAND, w, 0); }));
        EXPECT_EQ(0u, RunApplet()) << row.wParam;
        auto started = world().Started();
        ASSERT_EQ(1u, started.size()) << row.wParam;
        EXPECT_EQ(row.commandLine, started[0].commandLine);
    }
}

TEST_F(ServicesDialogTest, AppletShowsIconsAndFocusAndDisablesTheMainWindow) {
    HICON big = NULL, small = NULL, removeImage = NULL, quitImage = NULL;
    HWND focus = NULL, remove = NULL, owner = NULL;
    BOOL ownerEnabled = TRUE;
    world().SetUser(ActOnApplet([&](HWND h) {
        big = reinterpret_cast<HICON>(SendMessageA(h, WM_GETICON, ICON_BIG, 0));
        small = reinterpret_cast<HICON>(SendMessageA(h, WM_GETICON, ICON_SMALL, 0));
        removeImage = reinterpret_cast<HICON>(SendDlgItemMessageA(h, IDC_REMOVE_SERVICES, BM_GETIMAGE, IMAGE_ICON, 0));
        quitImage = reinterpret_cast<HICON>(SendDlgItemMessageA(h, IDCANCEL, BM_GETIMAGE, IMAGE_ICON, 0));
        focus = GetFocus();
        remove = GetDlgItem(h, IDC_REMOVE_SERVICES);
        owner = GetWindow(h, GW_OWNER);
        ownerEnabled = IsWindowEnabled(owner);
        Click(h, IDCANCEL);
    }));
    EXPECT_EQ(0u, RunApplet());
    EXPECT_NE(nullptr, big);
    EXPECT_EQ(big, small) << "the same icon serves as big and small window icon";
    EXPECT_NE(nullptr, removeImage);
    EXPECT_NE(nullptr, quitImage);
    EXPECT_NE(removeImage, quitImage);
    EXPECT_EQ(remove, focus) << "Remove Services has the first focus";
    EXPECT_NE(nullptr, owner) << "the hidden main window owns the applet";
    EXPECT_FALSE(ownerEnabled) << "and is disabled while it shows";
}

TEST_F(ServicesDialogTest, CompletionWhileTheAppletIsStillClosingEndsTheRunOnce) {
    // The engine signals at once, while the modal run is held open after its end: the finish
    // must wait for the applet to be gone, never touch it, and still end the run.
    world().DelayModalReturn(20);
    for (int i = 0; i < 25; ++i) {
        world().Reset();
        world().AddFile(test::kSetupExe);
        world().DelayModalReturn(i % 2 == 0 ? 20 : 0);
        test::InstallEngine(test::kMediaDir);
        world().SetUser(ActOnApplet([](HWND h) { Click(h, IDC_REMOVE_SERVICES); }));
        EXPECT_EQ(0u, RunApplet()) << "run " << i;
        EXPECT_EQ((std::vector<std::string>{kLaunched, kQuit}), EndingCalls()) << "run " << i;
        for (const std::string& e : world().SimulationErrors()) ADD_FAILURE() << "run " << i << ": " << e;
    }
}

TEST_F(ServicesDialogTest, ASecondAppletBringsTheFirstForwardAndShowsNothing) {
    std::atomic<bool> secondDone{false};
    world().SetUser([&](const ModalView& v) {
        UserAnswer a;
        HWND h = v.hwnd;
        a.act = [&secondDone, h]() {
            winsim::World::Get().WaitUntil([&]() { return secondDone.load(); });
            Click(h, IDCANCEL);
        };
        return a;
    });
    test::LauncherOptions o;
    o.args = "-showdialog";
    DWORD first = test::StartLauncher(o);
    ASSERT_TRUE(world().WaitUntil([]() { return FindWindowExA(NULL, NULL, "#32770", "Corvane Services") != NULL; }));
    HWND hFirst = FindWindowExA(NULL, NULL, "#32770", "Corvane Services");
    EXPECT_EQ(0u, test::RunLauncher(o));
    secondDone = true;
    UINT code = 99;
    ASSERT_TRUE(test::WaitLauncher(first, &code));
    EXPECT_EQ(0u, code);
    EXPECT_EQ(1u, world().ShownModals().size()) << "the second launcher shows nothing";
    auto calls = world().Calls();
    EXPECT_NE(calls.end(), std::find(calls.begin(), calls.end(),
                                     "SetForegroundWindow(" + std::to_string(reinterpret_cast<std::uintptr_t>(hFirst)) + ")"));
}

TEST_F(ServicesDialogTest, OnlyASystemDialogWithTheAppletTitleCounts) {
    struct Row {
        const char* why;
        const char* className;
        const char* title;
    } rows[] = {
        {"another class with the applet's title", "OtherClass", "Corvane Services"},
        {"a system dialog with another title", "#32770", "Corvane Setup"},
    };
    for (const Row& row : rows) {
        world().Reset();
        world().AddFile(test::kSetupExe);
        std::string cls = row.className, title = row.title;
        std::atomic<bool> done{false};
        winsim::World::ProcessOptions po;
        po.imagePath = "C:\\OTHER\\other.exe";
        po.commandLine = po.imagePath;
        DWORD other = world().StartProcess(po, [&]() {
            if (cls != "#32770") {
                WNDCLASSA wc = WNDCLASSA();
                wc.lpfnWndProc = DefWindowProcA;
                wc.lpszClassName = "OtherClass";
                RegisterClassA(&wc);
            }
            CreateWindowExA(0, cls.c_str(), title.c_str(), WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
            winsim::World::Get().WaitUntil([&]() { return done.load(); });
            return 0;
        });
        ASSERT_TRUE(world().WaitUntil([&]() {
            for (const auto& w : world().Windows()) {
                if (w.pid == other) return true;
            }
            return false;
        }));
        world().SetUser(ActOnApplet([](HWND h) { Click(h, IDCANCEL); }));
        EXPECT_EQ(0u, RunApplet()) << row.why;
        EXPECT_EQ(1u, world().ShownModals().size()) << row.why << ": the applet shows";
        done = true;
        world().WaitForExit(other, 5000);
    }
}

}  // namespace
