// The simulated machine's system settings, as tests set them up and read them back: the
// Windows version, the user's access token, the registry, and the restart requests. Reset
// (World::Reset) restores the default machine: Windows NT 5.1, the user a member of the
// Administrators group, no restart pending.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace winsim {

// Version. GetVersionExA reports this platform id (VER_PLATFORM_...) and version.
void SetOsVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build = 0);
// While set, GetVersionExA fails.
void FailVersionQuery(bool fail);

// A security identifier as tests write it: S-1-<authority>-<sub>-<sub>...
struct SidValue {
    BYTE authority[6];
    std::vector<DWORD> subAuthorities;
};
// S-1-5-<subs...>, an identifier of the NT authority.
SidValue NtSid(std::initializer_list<DWORD> subAuthorities);
// S-1-5-32-544, the local Administrators group.
SidValue AdministratorsSid();

struct TokenGroup {
    SidValue sid;
    DWORD attributes;  // SE_GROUP_...
};
// The groups of the user's access token, in the order GetTokenInformation lists them.
void SetTokenGroups(const std::vector<TokenGroup>& groups);
// A token whose groups are the usual ones of an interactive user, with or without the
// Administrators group.
std::vector<TokenGroup> UserTokenGroups(bool administrator);

// Security calls that can be made to fail.
enum class SecurityCall { kOpenProcessToken, kGetTokenInformation, kAllocateAndInitializeSid };
void FailSecurityCall(SecurityCall call, bool fail);

// What the access token's privileges became: the names enabled through AdjustTokenPrivileges,
// in the order they were first enabled.
std::vector<std::string> EnabledPrivileges();
// Token handles open in all processes, and SIDs from AllocateAndInitializeSid not yet freed.
size_t OpenTokenHandleCount();
size_t AllocatedSidCount();

// The registry. A path is relative to a root (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER), its
// parts separated by '\'; names of keys and values ignore letter case.
struct RegistryValue {
    DWORD type;
    std::string data;  // the bytes, as the ANSI functions hand them over
};
RegistryValue RegSz(const std::string& text);  // the text and its terminating NUL
RegistryValue RegDword(DWORD value);
RegistryValue RegBinary(const std::string& bytes);

// Creates the key and any key above it.
void AddRegistryKey(HKEY root, const std::string& path);
// Sets a value, creating its key as needed.
void SetRegistryValue(HKEY root, const std::string& path, const std::string& name,
                      const RegistryValue& value);
// Removes a key with everything below it; handles already open on it report the key deleted.
void RemoveRegistryKey(HKEY root, const std::string& path);
// Opening or creating the key with any of the refused access rights fails with
// ERROR_ACCESS_DENIED; 0 refuses nothing.
void RefuseRegistryAccess(HKEY root, const std::string& path, REGSAM refused);
// Reads a value back; false when the key or the value does not exist.
bool GetRegistryValue(HKEY root, const std::string& path, const std::string& name,
                      RegistryValue* out);
// Registry handles open in all processes (the predefined roots are not counted).
size_t OpenRegistryHandleCount();

// Restart requests: the flags of each ExitWindowsEx call that the machine accepted.
std::vector<UINT> RestartRequests();

}  // namespace winsim
