// Test support: simulated worlds and launcher runs.
#include "LauncherHarness.h"

#include <exception>

#include "EmbeddedRes.h"
#include "LauncherWnd.h"

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
        // A process that ends at once leaves its heap to the system; here the system is the
        // test program, which takes back what the run could not delete itself.
        struct Reclaim {
            CSetupApp& app;
            ~Reclaim() {
                if (std::uncaught_exceptions() > 0) {
                    delete app.m_pLauncherWnd;
                    app.m_pLauncherWnd = nullptr;
                }
            }
        } reclaim{app};
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

winsim::UserHandler AnswerInOrder(std::vector<winsim::UserAnswer> answers) {
    auto queue = std::make_shared<std::vector<winsim::UserAnswer>>(std::move(answers));
    auto next = std::make_shared<size_t>(0);
    return [queue, next](const winsim::ModalView& view) {
        if (*next >= queue->size()) {
            throw winsim::SimulationError("an unexpected modal element appeared: \"" + view.text + "\" / \"" +
                                          view.caption + "\"");
        }
        return (*queue)[(*next)++];
    };
}

winsim::UserAnswer Press(int button) {
    winsim::UserAnswer a;
    a.button = button;
    return a;
}

winsim::UserAnswer Confirm(const std::string& path) {
    winsim::UserAnswer a;
    a.path = path;
    return a;
}

winsim::UserAnswer Cancel() {
    winsim::UserAnswer a;
    a.cancel = true;
    return a;
}

winsim::UserAnswer Keys(const winsim::ModalView& dialog, std::vector<int> keys) {
    winsim::UserAnswer a;
    HWND hDlg = dialog.hwnd;
    a.act = [hDlg, keys]() {
        for (int vk : keys) PostMessageA(hDlg, WM_KEYDOWN, static_cast<WPARAM>(vk), 0);
    };
    return a;
}

winsim::UserHandler EscapeEverything() {
    return [](const winsim::ModalView& v) {
        if (v.kind == winsim::ModalView::kDialog) return Keys(v, {VK_ESCAPE});
        if (v.kind == winsim::ModalView::kOpenFile) return Cancel();
        return Press((v.style & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK);
    };
}

UINT RunLauncher(const std::string& args) {
    LauncherOptions o;
    o.args = args;
    return RunLauncher(o);
}

}  // namespace test
