// The platform gate, run through the whole launcher: which Windows it accepts, who counts as
// an administrator, the pending-restart marker and the restart itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "LauncherHarness.h"
#include "winsim_machine.h"

namespace {

using test::WorldTest;

const char kRunOnce[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kMarker[] = "KVQREBOOTREQUIRED";

// The first thing each run mode does once the gate has passed.
const char kSetupSearch[] = "FindWindowExA(\"InstallShield_Win\",NULL)";
const char kAppletSearch[] = "FindWindowExA(\"#32770\",\"Corvane Services\")";

struct Box {
    const char* text;
    const char* caption;
    UINT style;
};
const Box kUnsupported = {
    "This version of Windows is not supported by Corvane.  Please restart the computer and run "
    "Windows 95 or Windows NT v4.0.",
    "Corvane Setup", MB_ICONEXCLAMATION};
const Box kAdminRequired = {
    "You must be logged on as an administrator to add or remove Corvane services in Windows NT.",
    "Corvane Setup", MB_ICONEXCLAMATION};
const Box kRestartQuestion = {
    "You must restart your computer before running Setup.  Do you want to restart now?", "Corvane Setup",
    MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2};

// What one launcher run showed and left behind.
struct Outcome {
    UINT exitCode = 0xFFFFFFFF;
    std::vector<winsim::ModalView> modals;  // shown by the gate, before any run mode began
    bool windowsAtBox = false;              // some window existed while the gate's box showed
    bool setupRun = false;                  // the gate passed into the setup run
    bool appletRun = false;                 // the gate passed into the Services applet
    size_t tokensAtEnd = 0;                 // token handles still open when the launcher's main returned
};

bool Called(const std::string& call) {
    auto calls = winsim::World::Get().Calls();
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

bool RunModeBegan() { return Called(kSetupSearch) || Called(kAppletSearch); }

class PlatformGateTest : public WorldTest {
protected:
    // Runs the launcher; the user answers the gate's boxes with button (0 presses Enter), and
    // leaves whatever the run mode shows after a passed gate (the missing installer, the
    // Services applet) so that the run ends.
    Outcome Run(const std::string& args, int button = IDNO) {
        auto out = std::make_shared<Outcome>();
        winsim::UserHandler afterGate = test::EscapeEverything();
        world().SetUser([out, button, afterGate](const winsim::ModalView& view) {
            if (RunModeBegan()) return afterGate(view);
            out->modals.push_back(view);
            if (!winsim::World::Get().Windows().empty()) out->windowsAtBox = true;
            return test::Press((view.style & MB_TYPEMASK) == MB_YESNO ? button : IDOK);
        });
        test::LauncherOptions o;
        o.args = args;
        o.atEnd = [out](CSetupApp&) { out->tokensAtEnd = winsim::OpenTokenHandleCount(); };
        out->exitCode = test::RunLauncher(o);
        out->setupRun = Called(kSetupSearch);
        out->appletRun = Called(kAppletSearch);
        return *out;
    }

    // The run showed exactly the given box (or none), owned by the desktop window, and left
    // nothing open behind it.
    static void ExpectBox(const Outcome& out, const Box* box, const std::string& why) {
        EXPECT_EQ(0u, out.exitCode) << why;
        EXPECT_EQ(0u, out.tokensAtEnd) << why;
        EXPECT_EQ(0u, winsim::AllocatedSidCount()) << why;
        EXPECT_EQ(0u, winsim::OpenRegistryHandleCount()) << why;
        if (box == nullptr) {
            EXPECT_TRUE(out.modals.empty()) << why;
            return;
        }
        ASSERT_EQ(1u, out.modals.size()) << why;
        const winsim::ModalView& view = out.modals[0];
        EXPECT_EQ(winsim::ModalView::kMessageBox, view.kind) << why;
        EXPECT_EQ(GetDesktopWindow(), view.owner) << why;
        EXPECT_EQ(box->text, view.text) << why;
        EXPECT_EQ(box->caption, view.caption) << why;
        EXPECT_EQ(box->style, view.style) << why;
    }

    // A failed gate: no window, no run mode, whatever the command line asked for.
    static void ExpectGateFailed(const Outcome& out, const std::string& why) {
        EXPECT_FALSE(out.windowsAtBox) << why;
        EXPECT_FALSE(out.setupRun) << why;
        EXPECT_FALSE(out.appletRun) << why;
        EXPECT_TRUE(winsim::World::Get().Windows().empty()) << why;
    }

    void Fresh() {
        world().Reset();
        world().AddFile(test::kSetupExe, "MZ");
    }

    static void SetMarker(const winsim::RegistryValue& value) {
        winsim::SetRegistryValue(HKEY_LOCAL_MACHINE, kRunOnce, kMarker, value);
    }
    static bool MarkerPresent() { return winsim::GetRegistryValue(HKEY_LOCAL_MACHINE, kRunOnce, kMarker, nullptr); }
};

TEST_F(PlatformGateTest, PlatformVersionAndMembershipDecide) {
    const DWORD k95 = VER_PLATFORM_WIN32_WINDOWS, kNt = VER_PLATFORM_WIN32_NT;
    struct Row {
        DWORD platformId;
        DWORD major, minor;
        bool member;
        bool failQuery;
        const Box* box;  // nullptr: the gate passes
        const char* why;
    } rows[] = {
        {k95, 4, 0, false, false, nullptr, "Windows 95 never makes the Administrators test"},
        {k95, 0, 0, false, false, nullptr, "Windows 95 passes whatever its version number"},
        {k95, 10, 0, false, false, nullptr, "... and with a high one"},
        {kNt, 3, 51, true, false, &kUnsupported, "Windows NT 3.51 is too old, even for an administrator"},
        {kNt, 4, 0, true, false, nullptr, "Windows NT 4.0, administrator"},
        {kNt, 4, 0, false, false, &kAdminRequired, "Windows NT 4.0, not an administrator"},
        {kNt, 10, 0, true, false, nullptr, "Windows NT 10, administrator"},
        {kNt, 10, 0, false, false, &kAdminRequired, "Windows NT 10, not an administrator"},
        {kNt, 0x80000000, 0, true, false, nullptr, "the major version compares unsigned"},
        {0, 4, 0, true, false, &kUnsupported, "platform id 0"},
        {3, 10, 0, true, false, &kUnsupported, "a platform id above 2"},
        {kNt, 5, 1, true, true, &kUnsupported, "the version query fails"},
    };
    for (const Row& row : rows) {
        Fresh();
        winsim::SetOsVersion(row.platformId, row.major, row.minor);
        winsim::FailVersionQuery(row.failQuery);
        winsim::SetTokenGroups(winsim::UserTokenGroups(row.member));
        // The applet's command line shows that a failed gate stops every run mode.
        Outcome out = Run("-showdialog");
        ExpectBox(out, row.box, row.why);
        if (row.box != nullptr) {
            ExpectGateFailed(out, row.why);
        } else {
            EXPECT_TRUE(out.appletRun) << row.why;
        }
    }
}

TEST_F(PlatformGateTest, MembershipOfAdministratorsInTheToken) {
    using winsim::NtSid;
    using winsim::SecurityCall;
    using winsim::TokenGroup;
    const winsim::SidValue kAdmins = winsim::AdministratorsSid();
    std::vector<TokenGroup> many;
    for (DWORD rid = 1000; rid < 1400; ++rid) {
        many.push_back(TokenGroup{NtSid({21, 1004336348, 1177238915, 682003330, rid}), SE_GROUP_ENABLED});
    }
    many.push_back(TokenGroup{kAdmins, SE_GROUP_ENABLED});
    struct Row {
        std::vector<TokenGroup> groups;
        std::function<void()> fault;
        bool member;
        const char* why;
    } rows[] = {
        {{{kAdmins, 0}}, nullptr, true, "a disabled membership counts"},
        {{{kAdmins, SE_GROUP_USE_FOR_DENY_ONLY}}, nullptr, true, "a deny-only membership counts"},
        {many, nullptr, true, "an administrator in several hundred groups (far beyond 1024 bytes)"},
        {{{NtSid({32, 545}), SE_GROUP_ENABLED},
          {NtSid({21, 1004336348, 1177238915, 682003330, 544}), SE_GROUP_ENABLED},
          {NtSid({32}), SE_GROUP_ENABLED},
          {NtSid({32, 544, 0}), SE_GROUP_ENABLED},
          {winsim::SidValue{{0, 0, 0, 0, 0, 1}, {32, 544}}, SE_GROUP_ENABLED}},
         nullptr, false, "near misses: Users, a domain's 544, too few or many parts, another authority"},
        {{}, nullptr, false, "a token without groups"},
        {winsim::UserTokenGroups(true), [] { winsim::FailSecurityCall(SecurityCall::kOpenProcessToken, true); },
         false, "the token cannot be opened"},
        {winsim::UserTokenGroups(true), [] { winsim::FailSecurityCall(SecurityCall::kGetTokenInformation, true); },
         false, "the groups cannot be read"},
        {winsim::UserTokenGroups(true),
         [] { winsim::FailSecurityCall(SecurityCall::kAllocateAndInitializeSid, true); }, false,
         "the Administrators SID cannot be built"},
    };
    for (const Row& row : rows) {
        Fresh();
        winsim::SetTokenGroups(row.groups);
        if (row.fault) row.fault();
        Outcome out = Run("");
        ExpectBox(out, row.member ? nullptr : &kAdminRequired, row.why);
        EXPECT_EQ(row.member, out.setupRun) << row.why;
        if (!row.member) ExpectGateFailed(out, row.why);
    }
}

TEST_F(PlatformGateTest, RestartMarkerOfAnyTypeAsksForARestart) {
    struct Row {
        std::function<void()> setUp;
        bool pending;
        const char* why;
    } rows[] = {
        {[] {}, false, "no marker: the ordinary case"},
        {[] { SetMarker(winsim::RegSz("")); }, true, "empty text"},
        {[] { SetMarker({REG_SZ, ""}); }, true, "text of no bytes at all"},
        {[] { SetMarker({REG_SZ, "1"}); }, true, "text without its terminating NUL"},
        {[] { SetMarker(winsim::RegDword(0xFFFFFFFF)); }, true, "a number with all bits set"},
        {[] { SetMarker(winsim::RegBinary(std::string("\x00\x01\x02", 3))); }, true, "raw bytes"},
        {[] { winsim::SetRegistryValue(HKEY_CURRENT_USER, kRunOnce, kMarker, winsim::RegSz("1")); }, false,
         "the user's own RunOnce key is not looked at"},
        {[] { winsim::RemoveRegistryKey(HKEY_LOCAL_MACHINE, kRunOnce); }, false, "no RunOnce key"},
        {[] {
             SetMarker(winsim::RegSz("1"));
             winsim::RefuseRegistryAccess(HKEY_LOCAL_MACHINE, kRunOnce, KEY_QUERY_VALUE);
         },
         false, "a RunOnce key that cannot be read"},
        {[] {
             SetMarker(winsim::RegSz("1"));
             winsim::RefuseRegistryAccess(HKEY_LOCAL_MACHINE, kRunOnce, KEY_SET_VALUE | KEY_CREATE_SUB_KEY);
         },
         true, "a RunOnce key that refuses writing is still read"},
    };
    for (const Row& row : rows) {
        Fresh();
        row.setUp();
        bool markerBefore = MarkerPresent();
        Outcome out = Run("");
        ExpectBox(out, row.pending ? &kRestartQuestion : nullptr, row.why);
        EXPECT_EQ(!row.pending, out.setupRun) << row.why;
        if (row.pending) ExpectGateFailed(out, row.why);
        EXPECT_EQ(markerBefore, MarkerPresent()) << row.why;  // never written or removed
        EXPECT_TRUE(winsim::RestartRequests().empty()) << row.why;
    }
}

TEST_F(PlatformGateTest, UninstallAnywhereInExactCaseSkipsTheRestartTest) {
    struct Row {
        const char* args;
        bool asked;
        const char* why;
    } rows[] = {
        {"-uninstall", false, "the switch alone"},
        {"/s -uninstall -script=C:\\x.txt", false, "among other arguments"},
        {"x-uninstallx", false, "inside a longer word"},
        {"-UNINSTALL", true, "letter case matters"},
        {"-Uninstall", true, "letter case matters"},
        {"-showdialog", true, "the Services applet does not skip it"},
        {"", true, "no arguments"},
    };
    for (const Row& row : rows) {
        Fresh();
        SetMarker(winsim::RegSz("1"));
        Outcome out = Run(row.args);
        ExpectBox(out, row.asked ? &kRestartQuestion : nullptr, row.why);
        if (row.asked) {
            ExpectGateFailed(out, row.why);
        } else {
            EXPECT_TRUE(out.setupRun) << row.why;
        }
    }
}

TEST_F(PlatformGateTest, AnswerToTheRestartQuestion) {
    const std::vector<std::string> kShutdown = {"SeShutdownPrivilege"};
    struct Row {
        DWORD platformId;
        int button;
        bool restart;
        const char* why;
    } rows[] = {
        {VER_PLATFORM_WIN32_NT, IDNO, false, "No: the launcher ends without a restart"},
        {VER_PLATFORM_WIN32_NT, 0, false, "Enter answers No, the default button"},
        {VER_PLATFORM_WIN32_NT, IDYES, true, "Yes on Windows NT: privilege enabled, then restart"},
        {VER_PLATFORM_WIN32_WINDOWS, IDYES, true, "Yes on Windows 95: restart, no token at all"},
    };
    for (const Row& row : rows) {
        Fresh();
        winsim::SetOsVersion(row.platformId, 4, 0);
        SetMarker(winsim::RegSz("1"));
        Outcome out = Run("", row.button);
        ExpectBox(out, &kRestartQuestion, row.why);
        ExpectGateFailed(out, row.why);
        EXPECT_TRUE(MarkerPresent()) << row.why;
        // The simulated Windows NT accepts a restart only once the shutdown privilege is on.
        EXPECT_EQ(row.restart ? std::vector<UINT>{EWX_REBOOT} : std::vector<UINT>{}, winsim::RestartRequests())
            << row.why;
        bool nt = row.platformId == VER_PLATFORM_WIN32_NT;
        EXPECT_EQ(row.restart && nt ? kShutdown : std::vector<std::string>{}, winsim::EnabledPrivileges()) << row.why;
        if (!nt) {
            auto calls = world().Calls();
            EXPECT_TRUE(std::none_of(calls.begin(), calls.end(),
                                     [](const std::string& c) { return c.rfind("OpenProcessToken", 0) == 0; }))
                << row.why;
        }
    }
}

}  // namespace
