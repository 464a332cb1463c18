// Simulated registry: keys under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER with typed values,
// handles that remember the access they were opened with, and keys that refuse some access.
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "State.h"
#include "winsim_machine.h"

using namespace winsim;

namespace winsim {
namespace {

struct Value {
    std::string name;  // as first set
    RegistryValue value;
};

struct Key {
    std::map<std::string, std::shared_ptr<Key>> subkeys;  // by upper-case name
    std::map<std::string, std::string> subkeyNames;      // upper-case name -> name as created
    std::vector<Value> values;                           // in the order first set
    REGSAM refused = 0;
    bool deleted = false;
};

struct OpenKey {
    std::shared_ptr<Key> key;
    REGSAM access = 0;
};

struct RegistryState {
    std::shared_ptr<Key> localMachine = std::make_shared<Key>();
    std::shared_ptr<Key> currentUser = std::make_shared<Key>();
    std::map<HKEY, OpenKey> handles;
    std::uintptr_t nextHandle = 0x3000;
};

std::mutex& RegistryMutex() {
    static std::mutex mu;
    return mu;
}

RegistryState& Registry();

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '\\') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

std::shared_ptr<Key> RootLocked(HKEY root) {
    if (root == HKEY_LOCAL_MACHINE) return Registry().localMachine;
    if (root == HKEY_CURRENT_USER) return Registry().currentUser;
    return nullptr;
}

// The key below from, or null; with create, missing keys are made on the way.
std::shared_ptr<Key> WalkLocked(std::shared_ptr<Key> from, const std::string& path, bool create,
                                bool* created = nullptr) {
    if (created) *created = false;
    for (const std::string& part : SplitPath(path)) {
        if (!from) return nullptr;
        std::string upper = Upper(part);
        auto it = from->subkeys.find(upper);
        if (it != from->subkeys.end()) {
            from = it->second;
            continue;
        }
        if (!create) return nullptr;
        auto key = std::make_shared<Key>();
        from->subkeys[upper] = key;
        from->subkeyNames[upper] = part;
        from = key;
        if (created) *created = true;
    }
    return from;
}

Value* FindValueLocked(Key& key, const std::string& name) {
    for (Value& v : key.values) {
        if (Upper(v.name) == Upper(name)) return &v;
    }
    return nullptr;
}

void MarkDeletedLocked(Key& key) {
    key.deleted = true;
    for (auto& kv : key.subkeys) MarkDeletedLocked(*kv.second);
}

// What a handle names: a predefined root (all access) or an open key.
LSTATUS ResolveLocked(HKEY hKey, OpenKey* out) {
    if (std::shared_ptr<Key> root = RootLocked(hKey)) {
        *out = OpenKey{root, KEY_ALL_ACCESS};
        return ERROR_SUCCESS;
    }
    auto it = Registry().handles.find(hKey);
    if (it == Registry().handles.end()) return ERROR_INVALID_HANDLE;
    *out = it->second;
    return out->key->deleted ? ERROR_KEY_DELETED : ERROR_SUCCESS;
}

HKEY NewKeyHandleLocked(const std::shared_ptr<Key>& key, REGSAM access) {
    HKEY h = reinterpret_cast<HKEY>(Registry().nextHandle);
    Registry().nextHandle += 4;
    Registry().handles[h] = OpenKey{key, access};
    return h;
}

// The size of a value's data as the registry stores it: text is kept in UTF-16, two bytes
// for each byte the ANSI functions hand over (the simulated code page has no lead bytes).
DWORD StoredSize(const RegistryValue& v) {
    DWORD n = static_cast<DWORD>(v.data.size());
    bool text = v.type == REG_SZ || v.type == REG_EXPAND_SZ || v.type == REG_MULTI_SZ;
    return text ? 2 * n : n;
}

// The machine as it starts: the keys the launcher and its tests look under.
RegistryState DefaultRegistry() {
    RegistryState state;
    WalkLocked(state.localMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", true);
    WalkLocked(state.currentUser, "Software", true);
    return state;
}

RegistryState& Registry() {
    static RegistryState state = DefaultRegistry();
    return state;
}

void ResetRegistry() {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    Registry() = DefaultRegistry();
}

const bool kResetRegistered = RegisterResetHook(&ResetRegistry);

}  // namespace

RegistryValue RegSz(const std::string& text) { return RegistryValue{REG_SZ, text + std::string(1, '\0')}; }

RegistryValue RegDword(DWORD value) {
    return RegistryValue{REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value)};
}

RegistryValue RegBinary(const std::string& bytes) { return RegistryValue{REG_BINARY, bytes}; }

void AddRegistryKey(HKEY root, const std::string& path) {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    WalkLocked(RootLocked(root), path, true);
}

void SetRegistryValue(HKEY root, const std::string& path, const std::string& name, const RegistryValue& value) {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    std::shared_ptr<Key> key = WalkLocked(RootLocked(root), path, true);
    if (!key) return;
    if (Value* v = FindValueLocked(*key, name)) {
        v->value = value;
    } else {
        key->values.push_back(Value{name, value});
    }
}

void RemoveRegistryKey(HKEY root, const std::string& path) {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    std::vector<std::string> parts = SplitPath(path);
    if (parts.empty()) return;
    std::string last = parts.back();
    parts.pop_back();
    std::shared_ptr<Key> parent = RootLocked(root);
    for (const std::string& part : parts) parent = WalkLocked(parent, part, false);
    if (!parent) return;
    auto it = parent->subkeys.find(Upper(last));
    if (it == parent->subkeys.end()) return;
    MarkDeletedLocked(*it->second);
    parent->subkeys.erase(it);
    parent->subkeyNames.erase(Upper(last));
}

void RefuseRegistryAccess(HKEY root, const std::string& path, REGSAM refused) {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    if (std::shared_ptr<Key> key = WalkLocked(RootLocked(root), path, false)) key->refused = refused;
}

bool GetRegistryValue(HKEY root, const std::string& path, const std::string& name, RegistryValue* out) {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    std::shared_ptr<Key> key = WalkLocked(RootLocked(root), path, false);
    Value* v = key ? FindValueLocked(*key, name) : nullptr;
    if (v == nullptr) return false;
    if (out) *out = v->value;
    return true;
}

size_t OpenRegistryHandleCount() {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    return Registry().handles.size();
}

}  // namespace winsim

LSTATUS WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired, PHKEY phkResult) {
    if (!CheckAliveUnlocked()) return ERROR_INVALID_HANDLE;
    if (phkResult == NULL) return ERROR_INVALID_PARAMETER;
    *phkResult = NULL;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    OpenKey parent;
    LSTATUS status = ResolveLocked(hKey, &parent);
    if (status != ERROR_SUCCESS) return status;
    std::shared_ptr<Key> key = WalkLocked(parent.key, lpSubKey ? lpSubKey : "", false);
    if (!key) return ERROR_FILE_NOT_FOUND;
    if ((samDesired & key->refused) != 0) return ERROR_ACCESS_DENIED;
    *phkResult = NewKeyHandleLocked(key, samDesired);
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*Reserved*/, LPSTR /*lpClass*/,
                               DWORD /*dwOptions*/, REGSAM samDesired, LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/,
                               PHKEY phkResult, LPDWORD lpdwDisposition) {
    if (!CheckAliveUnlocked()) return ERROR_INVALID_HANDLE;
    if (phkResult == NULL || lpSubKey == NULL) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    OpenKey parent;
    LSTATUS status = ResolveLocked(hKey, &parent);
    if (status != ERROR_SUCCESS) return status;
    std::shared_ptr<Key> existing = WalkLocked(parent.key, lpSubKey, false);
    if (existing) {
        if ((samDesired & existing->refused) != 0) return ERROR_ACCESS_DENIED;
        *phkResult = NewKeyHandleLocked(existing, samDesired);
        if (lpdwDisposition) *lpdwDisposition = REG_OPENED_EXISTING_KEY;
        return ERROR_SUCCESS;
    }
    if ((parent.access & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
    std::shared_ptr<Key> key = WalkLocked(parent.key, lpSubKey, true);
    *phkResult = NewKeyHandleLocked(key, samDesired);
    if (lpdwDisposition) *lpdwDisposition = REG_CREATED_NEW_KEY;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCloseKey(HKEY hKey) {
    if (!CheckAliveUnlocked()) return ERROR_INVALID_HANDLE;
    World::Get().RecordCall("RegCloseKey");
    std::lock_guard<std::mutex> lock(RegistryMutex());
    if (RootLocked(hKey)) return ERROR_SUCCESS;
    return Registry().handles.erase(hKey) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS WINAPI RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
    if (!CheckAliveUnlocked()) return ERROR_INVALID_HANDLE;
    if (lpSubKey == NULL || *lpSubKey == '\0') return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    OpenKey parent;
    LSTATUS status = ResolveLocked(hKey, &parent);
    if (status != ERROR_SUCCESS) return status;
    std::vector<std::string> parts = SplitPath(lpSubKey);
    std::string last = parts.back();
    parts.pop_back();
    std::shared_ptr<Key> above = parent.key;
    for (const std::string& part : parts) above = WalkLocked(above, part, false);
    if (!above) return ERROR_FILE_NOT_FOUND;
    auto it = above->subkeys.find(Upper(last));
    if (it == above->subkeys.end()) return ERROR_FILE_NOT_FOUND;
    // Only a key without subkeys can be deleted.
    if (!it->second->subkeys.empty()) return ERROR_ACCESS_DENIED;
    MarkDeletedLocked(*it->second);
    above->subkeys.erase(it);
    above->subkeyNames.erase(Upper(last));
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                                LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                                LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                                LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime) {
    if (!CheckAliveUnlocked()) return ERROR_INVALID_HANDLE;
    if (lpReserved != NULL || (lpClass != NULL && lpcchClass == NULL)) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    OpenKey open;
    LSTATUS status = ResolveLocked(hKey, &open);
    if (status != ERROR_SUCCESS) return status;
    // The documentation asks for query access here; the reference system does not check it,
    // and neither does the simulated one.
    const Key& key = *open.key;
    DWORD maxSubKey = 0, maxValueName = 0, maxValue = 0;
    for (auto& kv : key.subkeyNames) maxSubKey = std::max(maxSubKey, static_cast<DWORD>(kv.second.size()));
    for (const Value& v : key.values) {
        maxValueName = std::max(maxValueName, static_cast<DWORD>(v.name.size()));
        maxValue = std::max(maxValue, StoredSize(v.value));
    }
    // Keys have no class here.
    if (lpClass != NULL && *lpcchClass > 0) *lpClass = '\0';
    if (lpcchClass) *lpcchClass = 0;
    if (lpcSubKeys) *lpcSubKeys = static_cast<DWORD>(key.subkeys.size());
    if (lpcbMaxSubKeyLen) *lpcbMaxSubKeyLen = maxSubKey;
    if (lpcbMaxClassLen) *lpcbMaxClassLen = 0;
    if (lpcValues) *lpcValues = static_cast<DWORD>(key.values.size());
    if (lpcbMaxValueNameLen) *lpcbMaxValueNameLen = maxValueName;
    if (lpcbMaxValueLen) *lpcbMaxValueLen = maxValue;
    if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
    if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{0, 0};
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                                LPDWORD lpcbData) {
    if (!CheckAliveUnlocked()) return ERROR_INVALID_HANDLE;
    if (lpReserved != NULL || (lpData != NULL && lpcbData == NULL)) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    OpenKey open;
    LSTATUS status = ResolveLocked(hKey, &open);
    if (status != ERROR_SUCCESS) return status;
    if ((open.access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
    const Value* v = FindValueLocked(*open.key, lpValueName ? lpValueName : "");
    if (v == nullptr) return ERROR_FILE_NOT_FOUND;
    const std::string& data = v->value.data;
    const DWORD size = static_cast<DWORD>(data.size());
    if (lpType) *lpType = v->value.type;
    if (lpData != NULL) {
        if (*lpcbData < size) {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        std::copy(data.begin(), data.end(), lpData);
        // Text stored without its terminating NUL gets one where the buffer has room; the
        // length reported does not count it. Text of no bytes at all gets nothing.
        bool text = v->value.type == REG_SZ || v->value.type == REG_EXPAND_SZ || v->value.type == REG_MULTI_SZ;
        if (text && size > 0 && data.back() != '\0' && *lpcbData > size) lpData[size] = '\0';
    }
    if (lpcbData) *lpcbData = size;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD /*Reserved*/, DWORD dwType, const BYTE* lpData,
                              DWORD cbData) {
    if (!CheckAliveUnlocked()) return ERROR_INVALID_HANDLE;
    if (lpData == NULL && cbData != 0) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    OpenKey open;
    LSTATUS status = ResolveLocked(hKey, &open);
    if (status != ERROR_SUCCESS) return status;
    if ((open.access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
    std::string name = lpValueName ? lpValueName : "";
    RegistryValue value{dwType, cbData == 0 ? std::string() : std::string(reinterpret_cast<const char*>(lpData), cbData)};
    if (Value* v = FindValueLocked(*open.key, name)) {
        v->value = value;
    } else {
        open.key->values.push_back(Value{name, value});
    }
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
    if (!CheckAliveUnlocked()) return ERROR_INVALID_HANDLE;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    OpenKey open;
    LSTATUS status = ResolveLocked(hKey, &open);
    if (status != ERROR_SUCCESS) return status;
    if ((open.access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
    std::vector<Value>& values = open.key->values;
    std::string upper = Upper(lpValueName ? lpValueName : "");
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (Upper(it->name) == upper) {
            values.erase(it);
            return ERROR_SUCCESS;
        }
    }
    return ERROR_FILE_NOT_FOUND;
}
