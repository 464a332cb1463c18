// LauncherCase: the fixture of every end-to-end case. A case lays out media in a folder of its
// own, starts launchers, answers what they show and checks how they end; the fixture keeps the
// time limit, records every box each launcher showed, reports a failing case in full, and
// cleans up after it (processes, media, the restart marker, Wine's version setting, a pending
// set of the completion event).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "E2eFiles.h"
#include "E2eProcesses.h"
#include "UiDriver.h"

namespace e2e {

// One launcher started by a case, and what it showed.
struct Launcher {
    std::string program;
    std::string args;
    StartedProcess process;
    std::vector<Box> boxes;  // every dialog and box it showed, in the order they appeared
    size_t taken = 0;        // how many of them the case has been handed (NextBox)
};

class LauncherCase : public ::testing::Test {
public:
    // Exit code reported for a launcher that did not end in time.
    static const DWORD kNoExit = 0xFFFFFFFF;

    // The folder of this case, without a trailing backslash.
    const std::string& Root() const { return m_root; }
    // A medium: folder Root()\name holding a copy of setup.exe. Returns the folder.
    std::string MakeMedium(const std::string& name = "medium");
    // A copy of the stand-in engine as folder\program with its instructions; the folder's
    // engine record is part of the case's report.
    void PutEngine(const std::string& folder, const std::string& cfg, const char* program = kInstaller);

    // Starts folder\setup.exe with args.
    Launcher& Start(const std::string& folder, const std::string& args);

    // Waits until condition holds; a failure naming what was awaited when the case's time
    // runs out. Boxes shown meanwhile are recorded.
    bool WaitUntil(const std::function<bool()>& condition, const std::string& what);
    // The next box the launcher shows (or has shown); false, with a failure, when none comes.
    bool NextBox(Launcher& launcher, Box* box);
    // The launcher's exit code once it has ended; kNoExit, with a failure, when it does not end
    // in time.
    DWORD WaitForExit(Launcher& launcher);
    // The command line the engine in folder received, once it has started; "" with a failure
    // when it does not start in time.
    std::string WaitForEngine(const std::string& folder);
    // The command line the engine in folder received, or "(never started)".
    std::string Received(const std::string& folder);
    // True when the launcher is still running now.
    bool StillRunning(const Launcher& launcher) { return !launcher.process.HasEnded(); }

    // Settings outside the medium, removed when the case ends.
    void SetRestartMarker();
    void SetWineVersion(const std::string& exeName, const std::string& version);

protected:
    void SetUp() override;
    void TearDown() override;

private:
    void RecordBoxes();
    void Report();
    void CleanUp();

    std::string m_root;
    DWORD m_deadline = 0;
    std::vector<std::unique_ptr<Launcher>> m_launchers;
    std::vector<std::string> m_engineFolders;
    bool m_markerSet = false;
    std::vector<std::string> m_wineVersions;
};

// "Yes,No"-style expectations of a box.
void ExpectBox(const Box& box, const std::string& caption, const std::string& text, const std::string& buttons,
               const std::string& defaultButton);

}  // namespace e2e
