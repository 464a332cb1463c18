// A stand-in for the installer engine, for the demo and the end-to-end tests: installed as
// "ishield.app" on a medium, it honours the engine's side of the contract.
//
// It reads its instructions from "engine.cfg" beside itself (key=value lines, all optional):
//   window=1|0       show a top-level window of class "InstallShield_Win" while it runs (1)
//   delay=N          milliseconds to run before completing (300)
//   complete=set     set "KVQ_ORLOSETUPCOMPLETE" and exit (default)
//   complete=exit    exit without setting it
//   complete=stay    keep running until "engine.stop" appears beside it, never set it
//   reboot=1         leave the RunOnce restart marker before completing
// and writes the command line it received to "engine-cmdline.txt" beside itself.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string OwnFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string s(path);
    size_t k = s.rfind('\\');
    return k == std::string::npos ? "." : s.substr(0, k);
}

std::string Setting(const std::string& cfg, const char* key, const char* def) {
    std::string needle = std::string(key) + "=";
    size_t at = 0;
    while ((at = cfg.find(needle, at)) != std::string::npos) {
        if (at == 0 || cfg[at - 1] == '\n') {
            size_t end = cfg.find_first_of("\r\n", at);
            return cfg.substr(at + needle.size(), end == std::string::npos ? std::string::npos : end - at - needle.size());
        }
        at += needle.size();
    }
    return def;
}

std::string ReadFile(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        std::fclose(f);
    }
    return text;
}

// Runs the window's messages for ms milliseconds.
void Pump(DWORD ms) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    const std::string folder = OwnFolder();
    const std::string cfg = ReadFile(folder + "\\engine.cfg");

    if (FILE* f = std::fopen((folder + "\\engine-cmdline.txt").c_str(), "wb")) {
        const char* cmd = GetCommandLineA();
        std::fwrite(cmd, 1, std::strlen(cmd), f);
        std::fclose(f);
    }

    HWND hwnd = NULL;
    if (Setting(cfg, "window", "1") == "1") {
        WNDCLASSA wc = WNDCLASSA();
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = hInstance;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "InstallShield_Win";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, "InstallShield_Win", "Corvane Installation (stand-in engine)",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 420, 160, NULL, NULL, hInstance, NULL);
    }

    const std::string complete = Setting(cfg, "complete", "set");
    if (complete == "stay") {
        while (GetFileAttributesA((folder + "\\engine.stop").c_str()) == INVALID_FILE_ATTRIBUTES) Pump(50);
    } else {
        Pump(static_cast<DWORD>(std::atoi(Setting(cfg, "delay", "300").c_str())));
    }

    if (Setting(cfg, "reboot", "0") == "1") {
        HKEY key;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0, NULL, 0,
                            KEY_SET_VALUE, NULL, &key, NULL) == ERROR_SUCCESS) {
            RegSetValueExA(key, "KVQREBOOTREQUIRED", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
            RegCloseKey(key);
        }
    }

    if (complete == "set") {
        HANDLE done = OpenEventA(EVENT_ALL_ACCESS, FALSE, "KVQ_ORLOSETUPCOMPLETE");
        if (done != NULL) {
            SetEvent(done);
            CloseHandle(done);
        }
    }
    if (hwnd != NULL) DestroyWindow(hwnd);
    return 0;
}
