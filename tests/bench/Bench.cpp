// Measures setup.exe against the minimal launcher, in one run, over repeated starts:
//   start of the launcher -> start of the engine;
//   the completion event set -> the launcher's exit;
//   CPU time the launcher uses while it waits 5 seconds for the event.
// Usage: bench <setup.exe> <minimal.exe> <work folder> <runs>
// The engine is this program itself, copied as "ishield.app": started under that name it only
// writes the moment it started (a performance-counter reading) beside itself and exits, so the
// launcher goes on waiting until the benchmark sets the event.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

LONGLONG Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double Ms(LONGLONG ticks) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(f.QuadPart);
}

std::string OwnPath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    return path;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }

bool RunAsEngine() {
    std::string own = OwnPath();
    std::string name = own.substr(own.rfind('\\') + 1);
    if (lstrcmpiA(name.c_str(), "ishield.app") != 0) return false;
    LONGLONG started = Now();
    std::string file = FolderOf(own) + "\\engine-start.txt";
    if (FILE* f = std::fopen((file + ".tmp").c_str(), "wb")) {
        std::fprintf(f, "%lld", started);
        std::fclose(f);
        MoveFileA((file + ".tmp").c_str(), file.c_str());
    }
    return true;
}

LONGLONG ProcessCpu(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return static_cast<LONGLONG>(k.QuadPart + u.QuadPart);  // 100 ns units
}

struct Sample {
    double toEngine = -1, toExit = -1, waitCpuMs = -1;
};

// One run of launcher (copied into medium as its own name) with the engine beside it.
Sample RunOnce(const std::string& medium, const std::string& launcher, bool measureCpu) {
    Sample s;
    std::string stamp = medium + "\\engine-start.txt";
    DeleteFileA(stamp.c_str());
    std::string cmd = "\"" + launcher + "\"";
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    LONGLONG t0 = Now();
    if (!CreateProcessA(launcher.c_str(), &cmd[0], NULL, NULL, FALSE, 0, NULL, medium.c_str(), &si, &pi)) return s;
    // The engine writes its start time and exits; the launcher goes on waiting.
    LONGLONG engineStart = 0;
    for (int i = 0; i < 20000 && engineStart == 0; ++i) {
        if (FILE* f = std::fopen(stamp.c_str(), "rb")) {
            long long v = 0;
            if (std::fscanf(f, "%lld", &v) == 1) engineStart = v;
            std::fclose(f);
        }
        if (engineStart == 0) Sleep(1);
    }
    if (engineStart != 0) s.toEngine = Ms(engineStart - t0);
    // Let the launcher settle into its wait before the event is set (it has started the engine
    // already; what remains is its own hand-over to the waiting thread).
    Sleep(300);
    if (measureCpu) {
        LONGLONG before = ProcessCpu(pi.hProcess);
        Sleep(5000);
        s.waitCpuMs = static_cast<double>(ProcessCpu(pi.hProcess) - before) / 10000.0;
    }
    HANDLE done = OpenEventA(EVENT_ALL_ACCESS, FALSE, "KVQ_ORLOSETUPCOMPLETE");
    LONGLONG t2 = Now();
    if (done != NULL) SetEvent(done);
    DWORD wait = WaitForSingleObject(pi.hProcess, 20000);
    LONGLONG t3 = Now();
    if (wait == WAIT_OBJECT_0) s.toExit = Ms(t3 - t2);
    else TerminateProcess(pi.hProcess, 99);
    if (done != NULL) CloseHandle(done);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return s;
}

void Stats(std::vector<double> v, double* median, double* low, double* high) {
    v.erase(std::remove_if(v.begin(), v.end(), [](double x) { return x < 0; }), v.end());
    if (v.empty()) {
        *median = *low = *high = -1;
        return;
    }
    std::sort(v.begin(), v.end());
    *median = v[v.size() / 2];
    *low = v.front();
    *high = v.back();
}

}  // namespace

int main(int argc, char** argv) {
    if (RunAsEngine()) return 0;
    if (argc < 5) {
        std::fprintf(stderr, "usage: bench <setup.exe> <minimal.exe> <work folder> <runs>\n");
        return 2;
    }
    std::string work = argv[3];
    int runs = std::max(1, std::atoi(argv[4]));
    struct Subject {
        const char* label;
        std::string source, name;
        std::vector<Sample> samples;
    } subjects[] = {{"setup.exe", argv[1], "setup.exe", {}}, {"minimal launcher", argv[2], "minimal.exe", {}}};
    std::string medium = work + "\\medium";
    CreateDirectoryA(work.c_str(), NULL);
    CreateDirectoryA(medium.c_str(), NULL);
    CopyFileA(OwnPath().c_str(), (medium + "\\ishield.app").c_str(), FALSE);
    for (Subject& sub : subjects) CopyFileA(sub.source.c_str(), (medium + "\\" + sub.name).c_str(), FALSE);
    // Alternate the two programs so that both see the same machine.
    for (int i = 0; i < runs; ++i) {
        for (Subject& sub : subjects) sub.samples.push_back(RunOnce(medium, medium + "\\" + sub.name, i == 0));
    }
    std::printf("| measure (ms; median, min-max over %d runs) | setup.exe | minimal launcher | overhead |\n", runs);
    std::printf("|---|---|---|---|\n");
    const char* names[] = {"start of the launcher -> start of the engine", "event set -> launcher's exit"};
    for (int m = 0; m < 2; ++m) {
        double med[2], lo[2], hi[2];
        for (int j = 0; j < 2; ++j) {
            std::vector<double> v;
            for (const Sample& s : subjects[j].samples) v.push_back(m == 0 ? s.toEngine : s.toExit);
            Stats(v, &med[j], &lo[j], &hi[j]);
        }
        std::printf("| %s | %.1f (%.1f-%.1f) | %.1f (%.1f-%.1f) | %+.0f%% |\n", names[m], med[0], lo[0], hi[0], med[1],
                    lo[1], hi[1], med[1] > 0 ? 100.0 * (med[0] - med[1]) / med[1] : 0.0);
    }
    std::printf("| CPU time while waiting 5 s for the event | %.1f | %.1f | |\n", subjects[0].samples[0].waitCpuMs,
                subjects[1].samples[0].waitCpuMs);
    return 0;
}
