// The platform gate: whether the launcher may run on this machine at this moment (Windows
// version, membership of the Administrators group, no restart pending), and the restart.
#include "PlatformGate.h"

#include <cstring>
#include <memory>
#include <new>

#include "Handle.h"
#include "RegistryKey.h"
#include "SetupApp.h"
#include "resource.h"

namespace {

// The installation leaves this value in the RunOnce key when Windows must restart before
// setup can run again; Windows removes it at its next start. The launcher only reads it.
const char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kRestartMarker[] = "KVQREBOOTREQUIRED";

// An uninstallation may go ahead while a restart is pending.
const char kUninstallSwitch[] = "-uninstall";

// Owns a security identifier from AllocateAndInitializeSid.
class CAllocatedSid {
public:
    CAllocatedSid() : m_pSid(NULL) {}
    ~CAllocatedSid() {
        if (m_pSid != NULL) FreeSid(m_pSid);
    }
    CAllocatedSid(const CAllocatedSid&) = delete;
    CAllocatedSid& operator=(const CAllocatedSid&) = delete;

    // The place AllocateAndInitializeSid writes the identifier to.
    PSID* Receive() { return &m_pSid; }
    PSID Get() const { return m_pSid; }

private:
    PSID m_pSid;
};

// Fills osvi for this system; on failure it stays zero-filled, platform id 0.
BOOL QueryVersion(OSVERSIONINFOA& osvi) {
    std::memset(&osvi, 0, sizeof osvi);
    osvi.dwOSVersionInfoSize = sizeof osvi;
    return GetVersionExA(&osvi);
}

}  // namespace

BOOL CSetupApp::CheckPlatform() {
    BOOL bResult = FALSE;
    CString strText;
    CString strCaption;

    OSVERSIONINFOA osvi;
    if (!QueryVersion(osvi)) {
        // A system that cannot say what it is is not one the launcher supports.
        strText.LoadString(IDS_WINDOWS_UNSUPPORTED);
        strCaption.LoadString(IDS_SETUP_TITLE);
    } else if (osvi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ||
               (osvi.dwPlatformId == VER_PLATFORM_WIN32_NT && osvi.dwMajorVersion >= 4)) {
        bResult = TRUE;
        if (osvi.dwPlatformId == VER_PLATFORM_WIN32_NT && !IsAdministrator()) {
            bResult = FALSE;
            strText.LoadString(IDS_ADMIN_REQUIRED);
            strCaption.LoadString(IDS_SETUP_TITLE);
        }
    } else {
        strText.LoadString(IDS_WINDOWS_UNSUPPORTED);
        strCaption.LoadString(IDS_SETUP_TITLE);
    }
    if (!bResult) {
        MessageBoxA(GetDesktopWindow(), strText, strCaption, MB_ICONEXCLAMATION);
        return FALSE;
    }

    if (m_lpCmdLine != NULL && std::strstr(m_lpCmdLine, kUninstallSwitch) != NULL) return TRUE;

    // Reading the marker needs no more than query access: a key that refuses writing must
    // still show a pending restart.
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kRunOnceKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) return TRUE;
    CString strMarker;
    if (key.QueryValue(kRestartMarker, strMarker) == ERROR_SUCCESS) {
        // Its type and content do not matter: the value being there is the pending restart.
        bResult = FALSE;
        strText.LoadString(IDS_RESTART_REQUIRED);
        strCaption.LoadString(IDS_SETUP_TITLE_RESTART);
        if (MessageBoxA(GetDesktopWindow(), strText, strCaption, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) ==
            IDYES) {
            RestartWindows();
        }
    }
    key.Close();
    return bResult;
}

BOOL CSetupApp::IsAdministrator() {
    HANDLE hToken = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &hToken)) return FALSE;
    CHandle token(hToken);

    // The group list has no fixed size (a user may belong to hundreds of groups): ask for its
    // length, then read it into a buffer of that length.
    DWORD cbNeeded = 0;
    if (GetTokenInformation(token.Get(), TokenGroups, NULL, 0, &cbNeeded) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER || cbNeeded == 0) {
        return FALSE;
    }
    std::unique_ptr<BYTE[]> pBuffer(new (std::nothrow) BYTE[cbNeeded]);
    if (!pBuffer) return FALSE;
    BOOL bRead = GetTokenInformation(token.Get(), TokenGroups, pBuffer.get(), cbNeeded, &cbNeeded);
    token.Close();
    if (!bRead) return FALSE;

    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    CAllocatedSid administrators;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                  0, 0, 0, administrators.Receive())) {
        return FALSE;
    }

    // The group's attributes are not looked at: a disabled or deny-only membership counts.
    const TOKEN_GROUPS* pGroups = reinterpret_cast<const TOKEN_GROUPS*>(pBuffer.get());
    const SID_AND_ATTRIBUTES* pGroup = pGroups->Groups;
    for (DWORD i = 0; i < pGroups->GroupCount; ++i) {
        if (EqualSid(administrators.Get(), pGroup[i].Sid)) return TRUE;
    }
    return FALSE;
}

void RestartWindows() {
    OSVERSIONINFOA osvi;
    QueryVersion(osvi);
    if (osvi.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        // Windows NT restarts only for a process that has enabled its shutdown privilege.
        HANDLE hToken = NULL;
        if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &hToken)) {
            CHandle token(hToken);
            TOKEN_PRIVILEGES privileges;
            std::memset(&privileges, 0, sizeof privileges);
            LookupPrivilegeValueA(NULL, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
            privileges.PrivilegeCount = 1;
            privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
            AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, NULL, NULL);
        }
    }
    ExitWindowsEx(EWX_REBOOT, 0);
}
