// Test support for the host build: a fresh simulated world per test, and runs of the launcher
// as a simulated process with its own application object.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ResourceFile.h"
#include "SetupApp.h"
#include "winsim_world.h"

namespace test {

// Where the launcher sits on the simulated medium.
extern const char kMediaDir[];
extern const char kSetupExe[];

// The launcher's compiled resources, parsed once.
std::shared_ptr<const winsim::ResourceFile> LauncherResources();

// Base fixture: resets the world before and after each test and fails the test when a
// simulated thread failed (a hang, an unexpected exception).
class WorldTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    winsim::World& world() { return winsim::World::Get(); }
};

struct LauncherOptions {
    std::string args;                     // the text after the program name
    std::string image = kSetupExe;        // the launcher's own path
    std::string programName;              // as written on the command line; default: quoted image
    // Called on the launcher's thread after WinMain returned normally, with its application.
    std::function<void(CSetupApp&)> atEnd;
};

// Starts the launcher as a simulated process; returns its id.
DWORD StartLauncher(const LauncherOptions& options);
// Runs the launcher to its end and returns the exit code; fails the test when it does not end
// within the time limit.
UINT RunLauncher(const LauncherOptions& options);
UINT RunLauncher(const std::string& args);
// Waits for a started launcher to end; false when it is still running after the limit.
bool WaitLauncher(DWORD pid, UINT* exitCode, unsigned timeoutMs = 5000);

// Scripted answers: the user answers the modal elements in this order; one more than the list
// fails the run. Returns the handler for World::SetUser.
winsim::UserHandler AnswerInOrder(std::vector<winsim::UserAnswer> answers);
winsim::UserAnswer Press(int button);            // a message box button (0: Enter)
winsim::UserAnswer Confirm(const std::string& path);  // the file-open dialog's OK with this path
winsim::UserAnswer Cancel();                     // the file-open dialog's Cancel
// A dialog answered by keys pressed on it (WM_KEYDOWN posted to the dialog, in order).
winsim::UserAnswer Keys(const winsim::ModalView& dialog, std::vector<int> keys);
// A user who leaves every dialog with Esc and answers every message box with No (or OK).
winsim::UserHandler EscapeEverything();

// Process options for binding a test thread or starting a program at the launcher's place.
winsim::World::ProcessOptions LauncherProcess(const std::string& args = "");

}  // namespace test
