// Simulated version query: GetVersionExA reports the machine's platform and version.
#include <cstring>
#include <mutex>

#include "MachineInternal.h"
#include "State.h"
#include "winsim_machine.h"

using namespace winsim;

namespace winsim {
namespace {

struct VersionState {
    DWORD platformId = VER_PLATFORM_WIN32_NT;
    DWORD major = 5;
    DWORD minor = 1;
    DWORD build = 2600;
    bool fail = false;
};

std::mutex& VersionMutex() {
    static std::mutex mu;
    return mu;
}

VersionState& Version() {
    static VersionState state;
    return state;
}

void ResetVersion() {
    std::lock_guard<std::mutex> lock(VersionMutex());
    Version() = VersionState();
}

const bool kResetRegistered = RegisterResetHook(&ResetVersion);

}  // namespace

DWORD SimulatedPlatformId() {
    std::lock_guard<std::mutex> lock(VersionMutex());
    return Version().platformId;
}

void SetOsVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build) {
    std::lock_guard<std::mutex> lock(VersionMutex());
    Version().platformId = platformId;
    Version().major = major;
    Version().minor = minor;
    Version().build = build;
}

void FailVersionQuery(bool fail) {
    std::lock_guard<std::mutex> lock(VersionMutex());
    Version().fail = fail;
}

}  // namespace winsim

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA lpVersionInformation) {
    if (!CheckAliveUnlocked()) return FALSE;
    // Only the basic structure is simulated; a size the system does not know is refused.
    if (lpVersionInformation == NULL || lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    VersionState v;
    {
        std::lock_guard<std::mutex> lock(VersionMutex());
        v = Version();
    }
    if (v.fail) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpVersionInformation->dwMajorVersion = v.major;
    lpVersionInformation->dwMinorVersion = v.minor;
    lpVersionInformation->dwBuildNumber = v.build;
    lpVersionInformation->dwPlatformId = v.platformId;
    std::memset(lpVersionInformation->szCSDVersion, 0, sizeof lpVersionInformation->szCSDVersion);
    return TRUE;
}
