// The smallest program that does the launcher's essential job, as the benchmark's yardstick:
// create the completion event, start "ishield.app" beside itself, wait for the event, end.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH + 16] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = std::strrchr(path, '\\');
    std::strcpy(slash != nullptr ? slash + 1 : path, "ishield.app");
    HANDLE done = CreateEventA(NULL, FALSE, FALSE, "KVQ_ORLOSETUPCOMPLETE");
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(path, path, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return 1;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    WaitForSingleObject(done, INFINITE);
    CloseHandle(done);
    return 0;
}
