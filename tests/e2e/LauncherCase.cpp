// LauncherCase: media, launchers, waits with the case's time limit, the report of a failing
// case, and the clean-up after every case.
#include "LauncherCase.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace e2e {

namespace {

// Time one case may take, from its start to its last check. A launcher start under Wine takes
// about a second here; the slowest case starts four programs.
const DWORD kCaseLimitMs = 60000;
// How often a wait looks at what it waits for.
const DWORD kPollMs = 25;
// How long the clean-up waits for terminated processes and for the completion event to go.
const DWORD kCleanUpLimitMs = 10000;

const char kCompletionEvent[] = "KVQ_ORLOSETUPCOMPLETE";
const char kEngineWindowClass[] = "InstallShield_Win";

std::string TempFolder() {
    char temp[MAX_PATH + 1] = "";
    GetTempPathA(sizeof temp, temp);
    std::string folder(temp);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

std::string SuiteFolder() { return TempFolder() + "\\CorvaneE2E"; }

// The case's folder name: the test's full name with letters and digits only, so that no
// folder holds a blank or a dash (a dash would cut a "-script=" path short).
std::string CaseFolderName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

bool EventExists() {
    HANDLE h = OpenEventA(SYNCHRONIZE, FALSE, kCompletionEvent);
    if (h == NULL) return false;
    CloseHandle(h);
    return true;
}

}  // namespace

void LauncherCase::SetUp() {
    ASSERT_FALSE(SetupExe().empty()) << "CORVANE_E2E_SETUP must name setup.exe";
    ASSERT_FALSE(EngineExe().empty()) << "CORVANE_E2E_ENGINE must name the stand-in engine";
    ASSERT_TRUE(FileExists(SetupExe())) << SetupExe();
    ASSERT_TRUE(FileExists(EngineExe())) << EngineExe();

    m_root = SuiteFolder() + "\\" + CaseFolderName();
    ASSERT_EQ(std::string::npos, m_root.find_first_of(" -"))
        << "the media folders must hold neither blanks nor dashes: " << m_root;
    // The machine must be as a case expects it: no installer running, no restart pending.
    ASSERT_TRUE(FindWindowExA(NULL, NULL, kEngineWindowClass, NULL) == NULL)
        << "an installer window (" << kEngineWindowClass << ") is open before the case";
    ASSERT_FALSE(RestartMarkerPresent())
        << "a restart is pending before the case (the RunOnce marker is set; Wine's next session removes it: "
           "tools/wine-stop build/windows)";
    // A gate case cut short leaves Wine's version setting for setup.exe; no other case wants it.
    RemoveWineVersion("setup.exe");

    // Remains of an earlier run that did not finish.
    TerminateProcessesIn(m_root, kCleanUpLimitMs);
    RemoveTree(m_root);
    MakeFolder(m_root);
    ASSERT_TRUE(FileExists(m_root)) << "cannot create " << m_root;
    m_deadline = GetTickCount() + kCaseLimitMs;
}

void LauncherCase::TearDown() {
    if (HasFailure()) Report();
    CleanUp();
}

std::string LauncherCase::MakeMedium(const std::string& name) {
    std::string folder = m_root + "\\" + name;
    MakeFolder(folder);
    EXPECT_TRUE(CopyFileA(SetupExe().c_str(), (folder + "\\setup.exe").c_str(), FALSE)) << "cannot copy setup.exe";
    return folder;
}

void LauncherCase::PutEngine(const std::string& folder, const std::string& cfg, const char* program) {
    EXPECT_TRUE(InstallEngine(folder, cfg, program)) << "cannot put the engine in " << folder;
    if (std::find(m_engineFolders.begin(), m_engineFolders.end(), folder) == m_engineFolders.end()) {
        m_engineFolders.push_back(folder);
    }
}

Launcher& LauncherCase::Start(const std::string& folder, const std::string& args) {
    m_launchers.push_back(std::make_unique<Launcher>());
    Launcher& launcher = *m_launchers.back();
    launcher.program = folder + "\\setup.exe";
    launcher.args = args;
    EXPECT_TRUE(launcher.process.Start(launcher.program, args, m_root))
        << "cannot start " << launcher.program << " (error " << GetLastError() << ")";
    return launcher;
}

void LauncherCase::RecordBoxes() {
    for (auto& launcher : m_launchers) {
        if (!launcher->process.Started()) continue;
        for (HWND hwnd : DialogsOf(launcher->process.Pid())) {
            auto seen = std::find_if(launcher->boxes.begin(), launcher->boxes.end(),
                                     [hwnd](const Box& b) { return b.hwnd == hwnd; });
            if (seen == launcher->boxes.end()) launcher->boxes.push_back(ReadBox(hwnd));
        }
    }
}

bool LauncherCase::WaitUntil(const std::function<bool()>& condition, const std::string& what) {
    for (;;) {
        RecordBoxes();
        if (condition()) return true;
        if (static_cast<LONG>(GetTickCount() - m_deadline) >= 0) {
            ADD_FAILURE() << "timed out (" << kCaseLimitMs / 1000 << " s for the case) waiting for " << what;
            return false;
        }
        Sleep(kPollMs);
    }
}

bool LauncherCase::NextBox(Launcher& launcher, Box* box) {
    auto shown = [&]() { return launcher.boxes.size() > launcher.taken; };
    if (!WaitUntil([&]() { return shown() || launcher.process.HasEnded(); }, "a box from " + launcher.program)) {
        return false;
    }
    RecordBoxes();
    if (!shown()) {
        ADD_FAILURE() << "the launcher (" << launcher.args << ") ended without showing the box awaited";
        return false;
    }
    *box = launcher.boxes[launcher.taken++];
    return true;
}

DWORD LauncherCase::WaitForExit(Launcher& launcher) {
    if (!WaitUntil([&]() { return launcher.process.HasEnded(); }, "the end of the launcher (" + launcher.args + ")")) {
        return kNoExit;
    }
    DWORD code = kNoExit;
    launcher.process.ExitCode(&code);
    return code;
}

std::string LauncherCase::WaitForEngine(const std::string& folder) {
    if (!WaitUntil([&]() { return FileExists(folder + "\\" + kEngineRecord); }, "the engine in " + folder)) return "";
    return Received(folder);
}

std::string LauncherCase::Received(const std::string& folder) {
    std::string commandLine;
    return EngineRecord(folder, &commandLine) ? commandLine : "(never started)";
}

void LauncherCase::SetRestartMarker() {
    m_markerSet = true;
    ASSERT_TRUE(e2e::SetRestartMarker()) << "cannot write the restart marker";
}

void LauncherCase::SetWineVersion(const std::string& exeName, const std::string& version) {
    m_wineVersions.push_back(exeName);
    ASSERT_TRUE(e2e::SetWineVersion(exeName, version)) << "cannot set Wine's version for " << exeName;
}

void LauncherCase::Report() {
    RecordBoxes();
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::printf("---- failed case %s.%s\n", info->test_suite_name(), info->name());
    for (size_t i = 0; i < m_launchers.size(); ++i) {
        const Launcher& l = *m_launchers[i];
        std::printf("  launcher %u: %s, arguments \"%s\"\n", static_cast<unsigned>(i + 1), l.program.c_str(),
                    l.args.c_str());
        if (l.boxes.empty()) std::printf("    showed no box\n");
        for (const Box& b : l.boxes) std::printf("    showed %s\n", b.Describe().c_str());
        DWORD code = 0;
        if (l.process.ExitCode(&code)) {
            std::printf("    exit code %lu\n", static_cast<unsigned long>(code));
        } else {
            std::printf("    %s\n", l.process.Started() ? "still running (ended by the test)" : "never started");
        }
    }
    for (const std::string& folder : m_engineFolders) {
        std::printf("  engine in %s received: %s\n", folder.c_str(), Received(folder).c_str());
    }
    std::fflush(stdout);
}

void LauncherCase::CleanUp() {
    // Everything the case started, directly or through a launcher, runs from its folder.
    const bool failed = HasFailure();
    for (const RunningProcess& p : TerminateProcessesIn(m_root, kCleanUpLimitMs)) {
        if (failed) {
            std::printf("  clean-up ended %s (process %lu)\n", p.image.c_str(), static_cast<unsigned long>(p.pid));
        }
    }
    m_launchers.clear();

    // The completion event goes with the last process that holds it; the next case must not
    // find it, let alone find it set.
    const DWORD start = GetTickCount();
    while (EventExists() && GetTickCount() - start < kCleanUpLimitMs) Sleep(kPollMs);
    if (HANDLE h = OpenEventA(SYNCHRONIZE, FALSE, kCompletionEvent)) {
        WaitForSingleObject(h, 0);  // consumes a pending set
        CloseHandle(h);
        ADD_FAILURE() << "the completion event " << kCompletionEvent << " outlived the case's processes";
    }

    if (m_markerSet) RemoveRestartMarker();
    for (const std::string& exe : m_wineVersions) RemoveWineVersion(exe);

    EXPECT_TRUE(RemoveTree(m_root)) << "cannot remove " << m_root;
    RemoveDirectoryA(SuiteFolder().c_str());  // only when no other case left anything
}

void ExpectBox(const Box& box, const std::string& caption, const std::string& text, const std::string& buttons,
               const std::string& defaultButton) {
    EXPECT_EQ(caption, box.caption) << box.Describe();
    EXPECT_EQ(text, box.text) << box.Describe();
    EXPECT_EQ(buttons, box.ButtonLabels()) << box.Describe();
    EXPECT_EQ(defaultButton, box.DefaultLabel()) << box.Describe();
}

}  // namespace e2e
