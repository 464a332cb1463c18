// Simulated security and shut-down: the user's access token and its groups, security
// identifiers, privileges, and restart requests, which are recorded and never carried out.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <mutex>
#include <set>

#include "MachineInternal.h"
#include "State.h"
#include "winsim_machine.h"

using namespace winsim;

namespace winsim {
namespace {

// A handle's view of the one access token the machine's user has; it remembers the access
// the handle was opened with.
struct Token : KernelObject {
    DWORD access = 0;
};

struct SecurityState {
    std::vector<TokenGroup> groups = UserTokenGroups(true);
    bool failOpenToken = false;
    bool failTokenInformation = false;
    bool failAllocateSid = false;
    std::vector<std::string> enabledPrivileges;
    std::set<void*> sids;  // from AllocateAndInitializeSid, not yet freed
    std::vector<UINT> restarts;
};

std::mutex& SecurityMutex() {
    static std::mutex mu;
    return mu;
}

SecurityState& Security() {
    static SecurityState state;
    return state;
}

void FreeSidMemory(void* p) { delete[] static_cast<BYTE*>(p); }

void ResetSecurity() {
    std::lock_guard<std::mutex> lock(SecurityMutex());
    for (void* p : Security().sids) FreeSidMemory(p);
    Security() = SecurityState();
}

const bool kResetRegistered = RegisterResetHook(&ResetSecurity);

// The privileges the machine knows, with their identifiers.
struct Privilege {
    const char* name;
    DWORD luid;
};
const Privilege kPrivileges[] = {
    {"SeSecurityPrivilege", 8},       {"SeTakeOwnershipPrivilege", 9},
    {"SeLoadDriverPrivilege", 10},    {"SeSystemtimePrivilege", 12},
    {"SeBackupPrivilege", 17},        {"SeRestorePrivilege", 18},
    {"SeShutdownPrivilege", 19},      {"SeDebugPrivilege", 20},
    {"SeChangeNotifyPrivilege", 23},  {"SeRemoteShutdownPrivilege", 24},
};

const char* PrivilegeName(const LUID& luid) {
    for (const Privilege& p : kPrivileges) {
        if (luid.HighPart == 0 && luid.LowPart == p.luid) return p.name;
    }
    return nullptr;
}

DWORD SidLength(const SidValue& sid) {
    return static_cast<DWORD>(offsetof(SID, SubAuthority) + sid.subAuthorities.size() * sizeof(DWORD));
}

void WriteSid(const SidValue& value, BYTE* out) {
    SID header;
    header.Revision = SID_REVISION;
    header.SubAuthorityCount = static_cast<BYTE>(value.subAuthorities.size());
    std::memcpy(header.IdentifierAuthority.Value, value.authority, 6);
    std::memcpy(out, &header, offsetof(SID, SubAuthority));
    for (size_t i = 0; i < value.subAuthorities.size(); ++i) {
        std::memcpy(out + offsetof(SID, SubAuthority) + i * sizeof(DWORD), &value.subAuthorities[i], sizeof(DWORD));
    }
}

// The security functions exist only on Windows NT; elsewhere they fail as not implemented.
bool SecurityImplemented() {
    if (SimulatedPlatformId() == VER_PLATFORM_WIN32_NT) return true;
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
}

// The token a handle of the calling process names, or null (last error set).
std::shared_ptr<Token> TokenOf(HANDLE h) {
    std::lock_guard<std::mutex> lock(S().mu);
    auto token = std::dynamic_pointer_cast<Token>(LookupHandleLocked(h));
    if (!token) SetLastErrorLocked(ERROR_INVALID_HANDLE);
    return token;
}

}  // namespace

SidValue NtSid(std::initializer_list<DWORD> subAuthorities) {
    return SidValue{{0, 0, 0, 0, 0, 5}, std::vector<DWORD>(subAuthorities)};
}

SidValue AdministratorsSid() { return NtSid({SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS}); }

std::vector<TokenGroup> UserTokenGroups(bool administrator) {
    const DWORD kEnabled = SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED;
    std::vector<TokenGroup> groups = {
        {NtSid({SECURITY_NT_NON_UNIQUE, 1004336348, 1177238915, 682003330, 513}), kEnabled},  // domain users
        {SidValue{{0, 0, 0, 0, 0, 1}, {0}}, kEnabled},                                       // Everyone
        {NtSid({SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS}), kEnabled},
        {NtSid({4}), kEnabled},   // interactive
        {NtSid({11}), kEnabled},  // authenticated users
        {NtSid({5, 0, 86392}), kEnabled | SE_GROUP_LOGON_ID},
        {SidValue{{0, 0, 0, 0, 0, 2}, {0}}, kEnabled},  // local
    };
    if (administrator) groups.insert(groups.begin() + 2, TokenGroup{AdministratorsSid(), kEnabled | SE_GROUP_OWNER});
    return groups;
}

void SetTokenGroups(const std::vector<TokenGroup>& groups) {
    std::lock_guard<std::mutex> lock(SecurityMutex());
    Security().groups = groups;
}

void FailSecurityCall(SecurityCall call, bool fail) {
    std::lock_guard<std::mutex> lock(SecurityMutex());
    switch (call) {
    case SecurityCall::kOpenProcessToken: Security().failOpenToken = fail; break;
    case SecurityCall::kGetTokenInformation: Security().failTokenInformation = fail; break;
    case SecurityCall::kAllocateAndInitializeSid: Security().failAllocateSid = fail; break;
    }
}

std::vector<std::string> EnabledPrivileges() {
    std::lock_guard<std::mutex> lock(SecurityMutex());
    return Security().enabledPrivileges;
}

size_t OpenTokenHandleCount() {
    std::lock_guard<std::mutex> lock(S().mu);
    size_t n = 0;
    for (auto& kv : S().processes) {
        for (auto& h : kv.second->handles) {
            if (dynamic_cast<Token*>(h.second.get()) != nullptr) ++n;
        }
    }
    return n;
}

size_t AllocatedSidCount() {
    std::lock_guard<std::mutex> lock(SecurityMutex());
    return Security().sids.size();
}

std::vector<UINT> RestartRequests() {
    std::lock_guard<std::mutex> lock(SecurityMutex());
    return Security().restarts;
}

}  // namespace winsim

BOOL WINAPI OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle) {
    if (!CheckAliveUnlocked()) return FALSE;
    World::Get().RecordCall("OpenProcessToken(" + std::to_string(DesiredAccess) + ")");
    if (!SecurityImplemented()) return FALSE;
    {
        std::lock_guard<std::mutex> lock(SecurityMutex());
        if (Security().failOpenToken) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }
    if (TokenHandle == NULL) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(S().mu);
    Process* p = CurrentProcess();
    // Only the calling process's own pseudo handle names a process here.
    if (p == nullptr || ProcessHandle != GetCurrentProcess()) {
        SetLastErrorLocked(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    auto token = std::make_shared<Token>();
    token->access = DesiredAccess;
    *TokenHandle = NewHandleLocked(p, token);
    return TRUE;
}

BOOL WINAPI GetTokenInformation(HANDLE TokenHandle, TOKEN_INFORMATION_CLASS TokenInformationClass,
                                LPVOID TokenInformation, DWORD TokenInformationLength, PDWORD ReturnLength) {
    if (!CheckAliveUnlocked()) return FALSE;
    if (!SecurityImplemented()) return FALSE;
    std::shared_ptr<Token> token = TokenOf(TokenHandle);
    if (!token) return FALSE;
    if ((token->access & TOKEN_QUERY) == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    // Only the group list is simulated.
    if (TokenInformationClass != TokenGroups) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<TokenGroup> groups;
    {
        std::lock_guard<std::mutex> lock(SecurityMutex());
        if (Security().failTokenInformation) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        groups = Security().groups;
    }
    // The count, the (SID pointer, attributes) array, then the SIDs themselves, all in the
    // caller's buffer; the pointers point into it.
    const DWORD cbHeader = static_cast<DWORD>(offsetof(TOKEN_GROUPS, Groups) + groups.size() * sizeof(SID_AND_ATTRIBUTES));
    DWORD cbNeeded = cbHeader;
    for (const TokenGroup& g : groups) cbNeeded += SidLength(g.sid);
    if (ReturnLength != NULL) *ReturnLength = cbNeeded;
    if (TokenInformation == NULL || TokenInformationLength < cbNeeded) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    BYTE* base = static_cast<BYTE*>(TokenInformation);
    DWORD count = static_cast<DWORD>(groups.size());
    std::memcpy(base + offsetof(TOKEN_GROUPS, GroupCount), &count, sizeof count);
    BYTE* sidOut = base + cbHeader;
    for (size_t i = 0; i < groups.size(); ++i) {
        SID_AND_ATTRIBUTES entry;
        entry.Sid = sidOut;
        entry.Attributes = groups[i].attributes;
        std::memcpy(base + offsetof(TOKEN_GROUPS, Groups) + i * sizeof(SID_AND_ATTRIBUTES), &entry, sizeof entry);
        WriteSid(groups[i].sid, sidOut);
        sidOut += SidLength(groups[i].sid);
    }
    return TRUE;
}

BOOL WINAPI AllocateAndInitializeSid(PSID_IDENTIFIER_AUTHORITY pIdentifierAuthority, BYTE nSubAuthorityCount,
                                     DWORD nSubAuthority0, DWORD nSubAuthority1, DWORD nSubAuthority2,
                                     DWORD nSubAuthority3, DWORD nSubAuthority4, DWORD nSubAuthority5,
                                     DWORD nSubAuthority6, DWORD nSubAuthority7, PSID* pSid) {
    if (!CheckAliveUnlocked()) return FALSE;
    if (pIdentifierAuthority == NULL || pSid == NULL || nSubAuthorityCount > 8) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(SecurityMutex());
    if (Security().failAllocateSid) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    const DWORD subs[8] = {nSubAuthority0, nSubAuthority1, nSubAuthority2, nSubAuthority3,
                           nSubAuthority4, nSubAuthority5, nSubAuthority6, nSubAuthority7};
    SidValue value;
    std::memcpy(value.authority, pIdentifierAuthority->Value, 6);
    value.subAuthorities.assign(subs, subs + nSubAuthorityCount);
    BYTE* sid = new BYTE[SidLength(value)];
    WriteSid(value, sid);
    Security().sids.insert(sid);
    *pSid = sid;
    return TRUE;
}

BOOL WINAPI EqualSid(PSID pSid1, PSID pSid2) {
    if (pSid1 == NULL || pSid2 == NULL) return FALSE;
    DWORD n1 = GetLengthSid(pSid1), n2 = GetLengthSid(pSid2);
    SetLastError(ERROR_SUCCESS);
    return n1 == n2 && std::memcmp(pSid1, pSid2, n1) == 0 ? TRUE : FALSE;
}

PVOID WINAPI FreeSid(PSID pSid) {
    std::lock_guard<std::mutex> lock(SecurityMutex());
    // Only what AllocateAndInitializeSid handed out can be freed; anything else comes back.
    if (Security().sids.erase(pSid) == 0) return pSid;
    FreeSidMemory(pSid);
    return NULL;
}

DWORD WINAPI GetLengthSid(PSID pSid) {
    const BYTE* p = static_cast<const BYTE*>(pSid);
    return static_cast<DWORD>(offsetof(SID, SubAuthority) + p[offsetof(SID, SubAuthorityCount)] * sizeof(DWORD));
}

BOOL WINAPI LookupPrivilegeValueA(LPCSTR lpSystemName, LPCSTR lpName, PLUID lpLuid) {
    if (!CheckAliveUnlocked()) return FALSE;
    if (!SecurityImplemented()) return FALSE;
    // Only the local system is simulated.
    if (lpSystemName != NULL && *lpSystemName != '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (const Privilege& p : kPrivileges) {
        if (lpName != NULL && lstrcmpiA(lpName, p.name) == 0) {
            lpLuid->LowPart = p.luid;
            lpLuid->HighPart = 0;
            return TRUE;
        }
    }
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
}

BOOL WINAPI AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges, PTOKEN_PRIVILEGES NewState,
                                  DWORD BufferLength, PTOKEN_PRIVILEGES PreviousState, PDWORD ReturnLength) {
    if (!CheckAliveUnlocked()) return FALSE;
    if (!SecurityImplemented()) return FALSE;
    std::shared_ptr<Token> token = TokenOf(TokenHandle);
    if (!token) return FALSE;
    if ((token->access & TOKEN_ADJUST_PRIVILEGES) == 0 ||
        (PreviousState != NULL && (token->access & TOKEN_QUERY) == 0)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    // The previous state is not simulated: it is reported as empty.
    if (PreviousState != NULL) {
        if (BufferLength < sizeof(DWORD) || ReturnLength == NULL) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        PreviousState->PrivilegeCount = 0;
        *ReturnLength = sizeof(DWORD);
    }
    std::string call = "AdjustTokenPrivileges(";
    {
        std::lock_guard<std::mutex> lock(SecurityMutex());
        std::vector<std::string>& enabled = Security().enabledPrivileges;
        if (DisableAllPrivileges) {
            enabled.clear();
            call += "disable all";
        } else if (NewState != NULL) {
            // Entries are read through a pointer to the first: the list holds PrivilegeCount.
            const LUID_AND_ATTRIBUTES* entries = NewState->Privileges;
            for (DWORD i = 0; i < NewState->PrivilegeCount; ++i) {
                const char* name = PrivilegeName(entries[i].Luid);
                std::string shown = name ? name : "?" + std::to_string(entries[i].Luid.LowPart);
                bool enable = (entries[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
                if (i > 0) call += ",";
                call += enable ? shown : "-" + shown;
                if (name == nullptr) continue;
                auto it = std::find(enabled.begin(), enabled.end(), shown);
                if (enable && it == enabled.end()) enabled.push_back(shown);
                if (!enable && it != enabled.end()) enabled.erase(it);
            }
        }
    }
    World::Get().RecordCall(call + ")");
    // The user holds every privilege the machine knows, so all are assigned.
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL WINAPI ExitWindowsEx(UINT uFlags, DWORD /*dwReason*/) {
    if (!CheckAliveUnlocked()) return FALSE;
    World::Get().RecordCall("ExitWindowsEx(" + std::to_string(uFlags) + ")");
    const bool nt = SimulatedPlatformId() == VER_PLATFORM_WIN32_NT;
    std::lock_guard<std::mutex> lock(SecurityMutex());
    // On Windows NT a restart or shut-down needs the shutdown privilege enabled first.
    const std::vector<std::string>& enabled = Security().enabledPrivileges;
    if (nt && (uFlags & (EWX_SHUTDOWN | EWX_REBOOT | EWX_POWEROFF)) != 0 &&
        std::find(enabled.begin(), enabled.end(), SE_SHUTDOWN_NAME) == enabled.end()) {
        SetLastError(ERROR_PRIVILEGE_NOT_HELD);
        return FALSE;
    }
    Security().restarts.push_back(uFlags);
    return TRUE;
}
