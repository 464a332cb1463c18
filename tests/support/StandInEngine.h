// A stand-in for the installer engine in the host tests: a simulated program installed as
// "ishield.app" that honours the engine's side of the contract as each case asks.
#pragma once

#include <string>

#include "winsim_world.h"

namespace test {

// Named event the test sets to let an engine that waits for it go on.
extern const char kEngineGoEvent[];

struct EngineScript {
    // Open a top-level window of class "InstallShield_Win" for as long as the engine runs.
    bool openWindow = false;
    enum Completion {
        kSetAtOnce,           // set the completion event and exit
        kSetWhenTold,         // wait for kEngineGoEvent, then set the completion event and exit
        kExitWithoutSetting,  // exit without setting it
        kStayWithoutSetting,  // keep running until told (kEngineGoEvent), never set it
    } completion = kSetAtOnce;
};

// Installs the engine as folder\ishield.app.
void InstallEngine(const std::string& folder, EngineScript script = EngineScript());
// Starts an engine that is already running when a test begins: it shows its window and stays
// until told. Returns its process id.
DWORD StartRunningEngine();
// Lets every engine waiting for kEngineGoEvent go on; false when none has created it yet.
bool TellEngine();

}  // namespace test
