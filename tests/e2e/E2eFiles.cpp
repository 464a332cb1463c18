// Files and folders of the end-to-end runs, and the registry settings a case may leave.
#include "E2eFiles.h"

#include <cstdio>
#include <cstdlib>

namespace e2e {

namespace {

const char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kRestartMarker[] = "KVQREBOOTREQUIRED";
const char kAppDefaultsKey[] = "Software\\Wine\\AppDefaults";
// How long the engine's record may stay busy after it has appeared, and how often to look.
const DWORD kRecordBusyLimitMs = 5000;
const DWORD kPollMs = 25;

std::string ProgramFromEnvironment(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr ? WindowsPath(value) : std::string();
}

}  // namespace

const char kInstaller[] = "ishield.app";
const char kEngineCfg[] = "engine.cfg";
const char kEngineRecord[] = "engine-cmdline.txt";
const char kEngineStop[] = "engine.stop";

std::string SetupExe() { return ProgramFromEnvironment("CORVANE_E2E_SETUP"); }
std::string EngineExe() { return ProgramFromEnvironment("CORVANE_E2E_ENGINE"); }

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string out = "Z:" + path;
    for (char& c : out) {
        if (c == '/') c = '\\';
    }
    return out;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFolder(const std::string& folder) {
    for (size_t k = folder.find('\\', 3); k != std::string::npos; k = folder.find('\\', k + 1)) {
        CreateDirectoryA(folder.substr(0, k).c_str(), NULL);
    }
    CreateDirectoryA(folder.c_str(), NULL);
}

bool RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
    return !FileExists(folder);
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool ReadFile(const std::string& path, std::string* bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    bytes->clear();
    char buf[512];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes->append(buf, n);
    std::fclose(f);
    return true;
}

bool InstallEngine(const std::string& folder, const std::string& cfg, const char* name) {
    MakeFolder(folder);
    return CopyFileA(EngineExe().c_str(), (folder + "\\" + name).c_str(), FALSE) &&
           WriteFile(folder + "\\" + kEngineCfg, cfg);
}

bool EngineRecord(const std::string& folder, std::string* commandLine) {
    const std::string record = folder + "\\" + kEngineRecord;
    if (!FileExists(record)) return false;
    // Just after the engine has renamed it into place, Wine may still hold the file open for
    // the rename, and refuses to share it for a moment.
    const DWORD start = GetTickCount();
    while (!ReadFile(record, commandLine)) {
        if (GetTickCount() - start > kRecordBusyLimitMs) {
            *commandLine = "(the record exists but cannot be read)";
            break;
        }
        Sleep(kPollMs);
    }
    return true;
}

bool StopEngine(const std::string& folder) { return WriteFile(folder + "\\" + kEngineStop, ""); }

bool SetRestartMarker() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) !=
        ERROR_SUCCESS) {
        return false;
    }
    LONG status = RegSetValueExA(key, kRestartMarker, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool RestartMarkerPresent() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    LONG status = RegQueryValueExA(key, kRestartMarker, NULL, NULL, NULL, NULL);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void RemoveRestartMarker() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, kRestartMarker);
    RegCloseKey(key);
}

bool SetWineVersion(const std::string& exeName, const std::string& version) {
    HKEY key;
    std::string path = std::string(kAppDefaultsKey) + "\\" + exeName;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) !=
        ERROR_SUCCESS) {
        return false;
    }
    LONG status = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                                 static_cast<DWORD>(version.size() + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void RemoveWineVersion(const std::string& exeName) {
    HKEY key;
    std::string path = std::string(kAppDefaultsKey) + "\\" + exeName;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return;
    }
    RegDeleteValueA(key, "Version");
    DWORD subkeys = 0, values = 0;
    bool empty = RegQueryInfoKeyA(key, NULL, NULL, NULL, &subkeys, NULL, NULL, &values, NULL, NULL, NULL, NULL) ==
                     ERROR_SUCCESS &&
                 subkeys == 0 && values == 0;
    RegCloseKey(key);
    // The program's key goes too when nothing else is set for it.
    if (empty) RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
}

}  // namespace e2e
