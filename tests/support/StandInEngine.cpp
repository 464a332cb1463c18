// The stand-in installer engine.
#include "StandInEngine.h"

#include <windows.h>

namespace test {

const char kEngineGoEvent[] = "TEST_ENGINE_GO";

namespace {
int RunEngine(const EngineScript& script) {
        if (script.openWindow) {
            WNDCLASSA wc = WNDCLASSA();
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(NULL);
            wc.lpszClassName = "InstallShield_Win";
            RegisterClassA(&wc);
            CreateWindowExA(0, "InstallShield_Win", "Corvane Installation", WS_POPUP | WS_VISIBLE, 0, 0, 640,
                            480, NULL, NULL, GetModuleHandleA(NULL), NULL);
        }
        if (script.completion == EngineScript::kSetWhenTold || script.completion == EngineScript::kStayWithoutSetting) {
            HANDLE hGo = CreateEventA(NULL, TRUE, FALSE, kEngineGoEvent);
            WaitForSingleObject(hGo, INFINITE);
            CloseHandle(hGo);
        }
        if (script.completion == EngineScript::kSetAtOnce || script.completion == EngineScript::kSetWhenTold) {
            HANDLE hDone = OpenEventA(EVENT_ALL_ACCESS, FALSE, "KVQ_ORLOSETUPCOMPLETE");
            if (hDone != NULL) {
                SetEvent(hDone);
                CloseHandle(hDone);
            }
        }
        return 0;
}
}  // namespace

void InstallEngine(const std::string& folder, EngineScript script) {
    winsim::World::Get().InstallProgram(folder + "\\ishield.app", [script]() { return RunEngine(script); });
}

DWORD StartRunningEngine() {
    EngineScript script;
    script.openWindow = true;
    script.completion = EngineScript::kStayWithoutSetting;
    winsim::World::ProcessOptions o;
    o.imagePath = "C:\\ENGINE\\ishield.app";
    o.commandLine = o.imagePath;
    winsim::World& world = winsim::World::Get();
    DWORD pid = world.StartProcess(o, [script]() { return RunEngine(script); });
    world.WaitUntil([&]() {
        for (const winsim::WindowView& w : world.Windows()) {
            if (w.pid == pid) return true;
        }
        return false;
    });
    return pid;
}

bool TellEngine() {
    winsim::World& world = winsim::World::Get();
    if (!world.WaitUntil([&]() { return world.NamedEventExists(kEngineGoEvent); })) return false;
    return world.SetNamedEvent(kEngineGoEvent);
}

}  // namespace test
