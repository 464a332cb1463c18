// Child programs on Windows: copies of this test program. A copy that does not run under the
// test program's own name is a child: before anything else it records its command line beside
// itself and exits.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ChildProgram.h"

namespace {

std::string OwnPath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    return path;
}

const struct ChildCheck {
    ChildCheck() {
        std::string own = OwnPath();
        std::string name = own.substr(own.rfind('\\') + 1);
        if (lstrcmpiA(name.c_str(), "conformance_tests.exe") == 0) return;
        if (FILE* f = std::fopen((own + ".ran").c_str(), "wb")) {
            const char* cmd = GetCommandLineA();
            std::fwrite(cmd, 1, std::strlen(cmd), f);
            std::fclose(f);
        }
        ExitProcess(0);
    }
} g_childCheck;

}  // namespace

namespace conformance {

std::string ScratchFolder() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::string folder(temp);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

void MakeFolder(const std::string& folder) {
    for (size_t k = folder.find('\\', 3); k != std::string::npos; k = folder.find('\\', k + 1)) {
        CreateDirectoryA(folder.substr(0, k).c_str(), NULL);
    }
    CreateDirectoryA(folder.c_str(), NULL);
}

void InstallChildProgram(const std::string& path) {
    DeleteFileA((path + ".ran").c_str());
    CopyFileA(OwnPath().c_str(), path.c_str(), FALSE);
}

bool ChildRecord(const std::string& path, std::string* commandLine) {
    FILE* f = std::fopen((path + ".ran").c_str(), "rb");
    if (f == nullptr) return false;
    char buf[1024];
    size_t n = std::fread(buf, 1, sizeof buf, f);
    std::fclose(f);
    commandLine->assign(buf, n);
    return true;
}

void RemoveChildProgram(const std::string& path) {
    DeleteFileA(path.c_str());
    DeleteFileA((path + ".ran").c_str());
}

}  // namespace conformance
