// Finding and starting the installer: the running-installer check, the locate loop with its
// questions and the folder browser, the launch and its failures.
#include <gtest/gtest.h>

#include <commdlg.h>

#include <algorithm>

#include "LauncherHarness.h"
#include "StandInEngine.h"

namespace {

using test::EngineScript;
using test::WorldTest;
using winsim::ModalView;
using winsim::UserAnswer;

std::string Hex(HWND h) { return std::to_string(reinterpret_cast<std::uintptr_t>(h)); }

bool IsHiddenMainWindow(HWND h) {
    winsim::WindowView v;
    return winsim::World::Get().GetWindowView(h, &v) && v.className.rfind("Afx:", 0) == 0 && !v.visible;
}

class HandOffTest : public WorldTest {
protected:
    EngineScript Quick() {
        EngineScript e;
        e.completion = EngineScript::kSetAtOnce;
        return e;
    }
    std::vector<winsim::World::ProcessStart> Requests() { return world().StartRequests(); }
};

TEST_F(HandOffTest, RunningInstallerIsBroughtForwardAndNothingStarts) {
    // "ishield.app" is absent too: the running installer is reported, not the missing one.
    DWORD engine = test::StartRunningEngine();
    HWND hEngine = NULL;
    for (const auto& w : world().Windows()) {
        if (w.pid == engine) hEngine = w.hwnd;
    }
    bool ownedByMainWindow = false;
    world().SetUser([&](const ModalView& v) {
        ownedByMainWindow = IsHiddenMainWindow(v.owner);
        return test::Press(IDOK);
    });
    EXPECT_EQ(0u, test::RunLauncher(""));
    auto modals = world().ShownModals();
    ASSERT_EQ(1u, modals.size());
    EXPECT_EQ("There is already a version of Setup running.", modals[0].text);
    EXPECT_EQ("Corvane Setup", modals[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), modals[0].style);
    EXPECT_TRUE(ownedByMainWindow);
    auto calls = world().Calls();
    std::vector<std::string> expected = {"SetForegroundWindow(" + Hex(hEngine) + ")",
                                         "ShowWindow(" + Hex(hEngine) + ",9)", "SetActiveWindow(" + Hex(hEngine) + ")"};
    auto it = std::search(calls.begin(), calls.end(), expected.begin(), expected.end());
    EXPECT_NE(calls.end(), it) << "forward, restore and activate, in this order";
    EXPECT_TRUE(Requests().empty());
}

TEST_F(HandOffTest, LocateLoopOutcomes) {
    struct Row {
        const char* why;
        std::vector<UserAnswer> answers;
        const char* engineFolder;   // where an engine is installed, or nullptr
        size_t requests;            // CreateProcessA calls
        const char* setupDir;       // m_strSetupDir at the end
    } rows[] = {
        {"installer missing, No ends the run", {test::Press(IDNO)}, nullptr, 0, "C:\\MEDIA"},
        {"installer missing, Enter answers Yes (the default)", {test::Press(0), test::Cancel()}, nullptr, 0, "C:\\MEDIA"},
        {"browse cancelled keeps the folder", {test::Press(IDYES), test::Cancel()}, nullptr, 0, "C:\\MEDIA"},
        {"confirmed folder without the installer asks again", {test::Press(IDYES), test::Confirm("C:\\OTHER\\ishield.app"), test::Press(IDNO)},
         nullptr, 0, "C:\\OTHER"},
        {"confirmed folder with the installer launches", {test::Press(IDYES), test::Confirm("E:\\DISK1\\ishield.app")},
         "E:\\DISK1", 1, "E:\\DISK1"},
        {"a drive root gives the bare drive", {test::Press(IDYES), test::Confirm("X:\\ishield.app")}, "X:", 1, "X:"},
    };
    for (const Row& row : rows) {
        world().Reset();
        world().AddFile(test::kSetupExe);
        if (row.engineFolder) test::InstallEngine(row.engineFolder, Quick());
        world().SetUser(test::AnswerInOrder(row.answers));
        std::string setupDir;
        test::LauncherOptions o;
        o.atEnd = [&](CSetupApp& app) { setupDir = app.m_strSetupDir; };
        EXPECT_EQ(0u, test::RunLauncher(o)) << row.why;
        EXPECT_EQ(row.requests, Requests().size()) << row.why;
        EXPECT_EQ(row.setupDir, setupDir) << row.why;
        for (const std::string& e : world().SimulationErrors()) ADD_FAILURE() << row.why << ": " << e;
        auto modals = world().ShownModals();
        EXPECT_EQ(row.answers.size(), modals.size()) << row.why;
        if (!modals.empty()) {
            EXPECT_EQ("Can't find Lunastra's Corvane installation program.\nWould you like to locate it manually?",
                      modals[0].text);
            EXPECT_EQ("Corvane Setup", modals[0].caption);
            EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION), modals[0].style);
        }
    }
}

TEST_F(HandOffTest, BrowseRecordAndASecondBrowseOpensInTheConfirmedFolder) {
    std::vector<OPENFILENAMEA> records;
    std::vector<std::string> files, initialDirs;
    int step = 0;
    world().SetUser([&](const ModalView& v) {
        ++step;
        if (v.kind == ModalView::kMessageBox) return test::Press(step < 5 ? IDYES : IDNO);
        auto* ofn = static_cast<OPENFILENAMEA*>(v.record);
        records.push_back(*ofn);
        files.push_back(ofn->lpstrFile);
        initialDirs.push_back(ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "(null)");
        EXPECT_TRUE(IsHiddenMainWindow(v.owner));
        return step == 2 ? test::Confirm("C:\\OTHER\\ishield.app") : test::Cancel();
    });
    EXPECT_EQ(0u, test::RunLauncher(""));
    ASSERT_EQ(2u, records.size());
    const OPENFILENAMEA& r = records[0];
    EXPECT_EQ(76u, r.lStructSize);
    EXPECT_EQ(0x20044u, r.Flags);
    EXPECT_EQ(GetModuleHandleA(NULL), r.hInstance);
    EXPECT_STREQ("BROWSEFORSETUP", r.lpTemplateName);
    EXPECT_EQ(260u, r.nMaxFile);
    EXPECT_EQ(nullptr, r.lpstrFilter);
    EXPECT_EQ(nullptr, r.lpstrCustomFilter);
    EXPECT_EQ(nullptr, r.lpstrFileTitle);
    EXPECT_EQ(nullptr, r.lpstrTitle);
    EXPECT_EQ(nullptr, r.lpstrDefExt);
    EXPECT_EQ(nullptr, r.lpfnHook);
    EXPECT_EQ("ishield.app", files[0]);
    EXPECT_EQ("C:\\MEDIA", initialDirs[0]);
    EXPECT_EQ("C:\\OTHER", initialDirs[1]);
    auto calls = world().Calls();
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), "CommDlgExtendedError")) << "after the cancelled browse only";
}

TEST_F(HandOffTest, FolderNamedLikeTheInstallerCountsAsPresent) {
    world().AddFolder("C:\\MEDIA\\ishield.app");
    world().SetUser(test::AnswerInOrder({test::Press(IDOK)}));  // the failed start is reported
    EXPECT_EQ(0u, test::RunLauncher(""));
    EXPECT_EQ(1u, Requests().size());
    EXPECT_TRUE(world().Started().empty());
}

TEST_F(HandOffTest, FailedStartIsReportedOverTheActiveWindowAndEndsTheRun) {
    test::InstallEngine(test::kMediaDir, Quick());
    world().RefuseProcessCreation(true);
    world().SetUser(test::AnswerInOrder({test::Press(IDOK)}));
    EXPECT_EQ(0u, test::RunLauncher(""));
    auto modals = world().ShownModals();
    ASSERT_EQ(1u, modals.size());
    EXPECT_EQ("Corvane setup was unable to launch InstallShield. Please ensure the directory you are running from "
              "is not a long file name on a Netware server. If you are unsure, please contact your administrator.",
              modals[0].text);
    EXPECT_EQ("Error", modals[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), modals[0].style);
    EXPECT_EQ(NULL, modals[0].owner) << "the plain run has no active window";
}

TEST_F(HandOffTest, SuccessfulStartPassesTheInstallerPathAsTheProgram) {
    test::InstallEngine(test::kMediaDir, Quick());
    EXPECT_EQ(0u, test::RunLauncher("-s2 /x"));
    auto started = world().Started();
    ASSERT_EQ(1u, started.size());
    EXPECT_EQ("C:\\MEDIA\\ishield.app", started[0].applicationName);
    EXPECT_EQ("C:\\MEDIA\\ishield.app -s2 /x", started[0].commandLine);
    EXPECT_EQ("C:\\MEDIA", started[0].currentDir) << "the launcher's current folder";
}

TEST_F(HandOffTest, PlantedPrefixProgramNeverRunsForASetupFolderWithBlanks) {
    const std::string media = "C:\\Program Files\\Corvane";
    world().AddFile(media + "\\setup.exe");
    bool plantedRan = false;
    world().InstallProgram("C:\\Program.exe", [&plantedRan]() {
        plantedRan = true;
        return 0;
    });
    test::InstallEngine(media, Quick());
    test::LauncherOptions o;
    o.image = media + "\\setup.exe";
    EXPECT_EQ(0u, test::RunLauncher(o));
    EXPECT_FALSE(plantedRan);
    auto started = world().Started();
    ASSERT_EQ(1u, started.size());
    EXPECT_EQ(media + "\\ishield.app", started[0].imagePath);
    EXPECT_EQ("\"" + media + "\\ishield.app\"", started[0].commandLine);
}

TEST_F(HandOffTest, WorkerThatCannotStartEndsTheRunAndTheInstallerRunsOn) {
    EngineScript e;
    e.completion = EngineScript::kStayWithoutSetting;
    test::InstallEngine(test::kMediaDir, e);
    world().RefuseThreadCreation(true);
    EXPECT_EQ(0u, test::RunLauncher(""));
    auto started = world().Started();
    ASSERT_EQ(1u, started.size());
    EXPECT_FALSE(world().ProcessEnded(started[0].pid));
    world().RefuseThreadCreation(false);
    test::TellEngine();
}

}  // namespace
