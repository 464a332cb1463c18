// Test support: simulated worlds and launcher runs.
#include "LauncherHarness.h"

#include "EmbeddedRes.h"

namespace test {

const char kMediaDir[] = "C:\\MEDIA";
const char kSetupExe[] = "C:\\MEDIA\\setup.exe";

std::shared_ptr<const winsim::ResourceFile> LauncherResources() {
    static std::shared_ptr<const winsim::ResourceFile> res = [] {
        auto file = std::make_shared<winsim::ResourceFile>();
        if (!file->Parse(g_corvaneSetupRes, g_corvaneSetupResSize)) ADD_FAILURE() << "setup.res does not parse";
        return file;
    }();
    return res;
}

void WorldTest::SetUp() {
    winsim::World::Get().Reset();
    winsim::World::Get().AddFile(kSetupExe, "MZ");
}

void WorldTest::TearDown() {
    winsim::World::Get().Reset();
    for (const std::string& e : winsim::World::Get().SimulationErrors()) ADD_FAILURE() << e;
}

winsim::World::ProcessOptions LauncherProcess(const std::string& args) {
    winsim::World::ProcessOptions o;
    o.imagePath = kSetupExe;
    o.commandLine = std::string("\"") + kSetupExe + "\"" + (args.empty() ? "" : " " + args);
    o.resources = LauncherResources();
    return o;
}

DWORD StartLauncher(const LauncherOptions& options) {
    winsim::World::ProcessOptions o;
    o.imagePath = options.image;
    std::string name = options.programName.empty() ? "\"" + options.image + "\"" : options.programName;
    o.commandLine = options.args.empty() ? name : name + " " + options.args;
    o.resources = LauncherResources();
    auto atEnd = options.atEnd;
    return winsim::World::Get().StartProcess(o, [atEnd]() {
        CSetupApp app;
        int code = WinMain(GetModuleHandleA(NULL), NULL, winsim::CommandTail(GetCommandLineA()), SW_SHOWDEFAULT);
        if (atEnd) atEnd(app);
        return code;
    });
}

bool WaitLauncher(DWORD pid, UINT* exitCode, unsigned timeoutMs) {
    return winsim::World::Get().WaitForExit(pid, timeoutMs, exitCode);
}

UINT RunLauncher(const LauncherOptions& options) {
    DWORD pid = StartLauncher(options);
    UINT code = 0xFFFFFFFF;
    if (!WaitLauncher(pid, &code)) {
        ADD_FAILURE() << "the launcher did not end (arguments \"" << options.args << "\")";
        winsim::World::Get().TerminateProcess(pid, 0xFFFFFFFF);
    }
    return code;
}

UINT RunLauncher(const std::string& args) {
    LauncherOptions o;
    o.args = args;
    return RunLauncher(o);
}

}  // namespace test
