// The platform gate: whether the launcher may run on this machine at this moment.
#include "SetupApp.h"

// Provisional: the gate passes until the version, administrator and restart tests are built.
BOOL CSetupApp::CheckPlatform() { return TRUE; }
