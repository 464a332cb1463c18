// Shared pieces of the simulated machine's settings, used across winsim's source files.
#pragma once

#include <windows.h>

namespace winsim {

// The platform id GetVersionExA reports (VER_PLATFORM_...), whether or not the query is made
// to fail: the security functions exist only on Windows NT.
DWORD SimulatedPlatformId();

}  // namespace winsim
