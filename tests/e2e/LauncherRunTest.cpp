// The real setup.exe under Wine, on media laid out per case with the stand-in engine: every
// way a run ends, the installer's command line as the arguments and setup scripts shape it,
// and the platform gate under Wine's per-program Windows version.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "LauncherCase.h"

namespace {

using e2e::Box;
using e2e::Launcher;
using e2e::LauncherCase;

const char kSetupTitle[] = "Corvane Setup";
const char kServicesTitle[] = "Corvane Services";
const char kAlreadyRunning[] = "There is already a version of Setup running.";
const char kInstallerNotFound[] =
    "Can't find Lunastra's Corvane installation program.\nWould you like to locate it manually?";
const char kBrowsePrompt[] = "Please select the folder where the Corvane installation program is located.";
const char kLaunchFailed[] =
    "Corvane setup was unable to launch InstallShield. Please ensure the directory you are running from is not a "
    "long file name on a Netware server. If you are unsure, please contact your administrator.";
const char kRestartRequired[] = "You must restart your computer before running Setup.  Do you want to restart now?";
const char kWindowsUnsupported[] =
    "This version of Windows is not supported by Corvane.  Please restart the computer and run Windows 95 or "
    "Windows NT v4.0.";

const int kRemoveServices = 1001;
// The browse dialog's label that shows the folder it is in.
const int kBrowseFolderLabel = 1088;

// Engine instructions.
const char kSetsAtOnce[] = "complete=set\r\ndelay=0\r\n";
const char kSetsWhenStopped[] = "complete=stay-then-set\r\n";
const char kExitsWithoutSetting[] = "complete=exit\r\ndelay=0\r\n";
const char kStays[] = "complete=stay\r\n";

std::string InstallerIn(const std::string& folder) { return folder + "\\" + e2e::kInstaller; }

// Replaces every "{medium}" in text by the medium's folder.
std::string WithMedium(std::string text, const std::string& medium) {
    const std::string mark = "{medium}";
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + medium.size())) {
        text.replace(at, mark.size(), medium);
    }
    return text;
}

// ---- Every way a run ends --------------------------------------------------------------------

struct RunEnd {
    const char* name;
    const char* why;
    std::function<void(LauncherCase& c)> run;
};

void PrintTo(const RunEnd& row, std::ostream* os) { *os << row.name; }

const RunEnd kRunEnds[] = {
    {"InstallerSetsTheEvent", "the installer started and set the completion event: the launcher waited for it, exit 0",
     [](LauncherCase& c) {
         std::string medium = c.MakeMedium();
         c.PutEngine(medium, kSetsWhenStopped);
         Launcher& l = c.Start(medium, "");
         EXPECT_EQ(InstallerIn(medium), c.WaitForEngine(medium));
         EXPECT_TRUE(c.StillRunning(l)) << "the launcher must wait for the completion event";
         EXPECT_TRUE(e2e::VisibleWindowsOf(l.process.Pid()).empty()) << "the launcher waits invisibly";
         ASSERT_TRUE(e2e::StopEngine(medium));
         EXPECT_EQ(0u, c.WaitForExit(l));
         EXPECT_TRUE(l.boxes.empty());
     }},
    {"InstallerAlreadyRunning", "an installer's window is open: the launcher says so, starts nothing, exit 0",
     [](LauncherCase& c) {
         std::string running = c.Root() + "\\running";
         c.PutEngine(running, kStays);
         e2e::StartedProcess engine;
         ASSERT_TRUE(engine.Start(InstallerIn(running), "", c.Root()));
         HWND window = NULL;
         ASSERT_TRUE(c.WaitUntil(
             [&] { return (window = FindWindowExA(NULL, NULL, "InstallShield_Win", NULL)) != NULL; },
             "the running installer's window"));
         ShowWindow(window, SW_MINIMIZE);
         ASSERT_TRUE(c.WaitUntil([&] { return IsIconic(window) != FALSE; }, "the installer's window to be minimised"));
         std::string medium = c.MakeMedium();
         c.PutEngine(medium, kSetsAtOnce);
         Launcher& l = c.Start(medium, "");
         Box box;
         ASSERT_TRUE(c.NextBox(l, &box));
         e2e::ExpectBox(box, kSetupTitle, kAlreadyRunning, "OK", "OK");
         e2e::Press(box.hwnd, IDOK);
         EXPECT_EQ(0u, c.WaitForExit(l));
         EXPECT_EQ("(never started)", c.Received(medium));
         EXPECT_FALSE(IsIconic(window)) << "the running installer is brought back";
         EXPECT_FALSE(engine.HasEnded()) << "the running installer is left alone";
         e2e::StopEngine(running);
     }},
    {"InstallerMissingUserDeclines", "no installer in the setup folder and the user answers No: exit 0",
     [](LauncherCase& c) {
         std::string medium = c.MakeMedium();
         Launcher& l = c.Start(medium, "");
         Box box;
         ASSERT_TRUE(c.NextBox(l, &box));
         e2e::ExpectBox(box, kSetupTitle, kInstallerNotFound, "Yes,No", "Yes");
         e2e::Press(box.hwnd, IDNO);
         EXPECT_EQ(0u, c.WaitForExit(l));
         EXPECT_EQ(1u, l.boxes.size());
     }},
    {"InstallerFoundByBrowsing",
     "no installer in the setup folder, the user answers Yes and confirms a folder that holds one: it is "
     "started there, exit 0 once it sets the event",
     [](LauncherCase& c) {
         std::string medium = c.MakeMedium();
         std::string other = c.Root() + "\\disk1";
         c.PutEngine(other, kSetsAtOnce);
         Launcher& l = c.Start(medium, "");
         Box box;
         ASSERT_TRUE(c.NextBox(l, &box));
         e2e::ExpectBox(box, kSetupTitle, kInstallerNotFound, "Yes,No", "Yes");
         e2e::Press(box.hwnd, IDYES);
         ASSERT_TRUE(c.NextBox(l, &box));
         // The launcher passes no title, and a file dialog without one shows the system's
         // default title ("Open File" under Wine) in place of the layout's own.
         e2e::ExpectBox(box, "Open File", kBrowsePrompt, "OK,Cancel", "OK");
         EXPECT_EQ(0, lstrcmpiA(medium.c_str(), e2e::ControlText(box.hwnd, kBrowseFolderLabel).c_str()))
             << "the browser opens in the setup folder; it shows " << e2e::ControlText(box.hwnd, kBrowseFolderLabel);
         ASSERT_TRUE(e2e::ChooseFolder(box.hwnd, other));
         EXPECT_EQ(InstallerIn(other), c.WaitForEngine(other));
         EXPECT_EQ(0u, c.WaitForExit(l));
         EXPECT_EQ(2u, l.boxes.size());
     }},
    {"InstallerCannotStart", "\"ishield.app\" is not a program: the failed start is reported, exit 0",
     [](LauncherCase& c) {
         std::string medium = c.MakeMedium();
         ASSERT_TRUE(e2e::WriteFile(InstallerIn(medium), "This is a text file, not a program.\r\n"));
         Launcher& l = c.Start(medium, "");
         Box box;
         ASSERT_TRUE(c.NextBox(l, &box));
         e2e::ExpectBox(box, "Error", kLaunchFailed, "OK", "OK");
         e2e::Press(box.hwnd, IDOK);
         EXPECT_EQ(0u, c.WaitForExit(l));
     }},
    {"AppletQuit", "the user quits the Services applet (its switch in mixed case selects it all the same): exit 0",
     [](LauncherCase& c) {
         std::string medium = c.MakeMedium();
         c.PutEngine(medium, kSetsAtOnce);
         Launcher& l = c.Start(medium, "-ShowDialog");
         Box box;
         ASSERT_TRUE(c.NextBox(l, &box));
         e2e::ExpectBox(box, kServicesTitle, "", "Remove Services,Quit Applet", "");
         e2e::Press(box.hwnd, IDCANCEL);
         EXPECT_EQ(0u, c.WaitForExit(l));
         EXPECT_EQ("(never started)", c.Received(medium));
     }},
    {"AppletRemoveServices",
     "Remove Services starts the installer with -uninstall; the applet closes and the launcher waits for the "
     "completion event, exit 0",
     [](LauncherCase& c) {
         std::string medium = c.MakeMedium();
         c.PutEngine(medium, kSetsWhenStopped);
         Launcher& l = c.Start(medium, "-showdialog");
         Box box;
         ASSERT_TRUE(c.NextBox(l, &box));
         EXPECT_EQ(kServicesTitle, box.caption);
         e2e::Press(box.hwnd, kRemoveServices);
         EXPECT_EQ(InstallerIn(medium) + " -uninstall", c.WaitForEngine(medium));
         EXPECT_TRUE(c.WaitUntil([&] { return e2e::DialogsOf(l.process.Pid()).empty(); }, "the applet to close"));
         EXPECT_TRUE(c.StillRunning(l)) << "the launcher must wait for the completion event";
         ASSERT_TRUE(e2e::StopEngine(medium));
         EXPECT_EQ(0u, c.WaitForExit(l));
     }},
    {"AppletEnter",
     "Enter in the applet, which has no default button (the dialog gets IDOK): nothing was started, so the run "
     "ends, exit 0",
     [](LauncherCase& c) {
         std::string medium = c.MakeMedium();
         c.PutEngine(medium, kSetsAtOnce);
         Launcher& l = c.Start(medium, "-showdialog");
         Box box;
         ASSERT_TRUE(c.NextBox(l, &box));
         ASSERT_TRUE(e2e::PressKey(box.hwnd, VK_RETURN));
         EXPECT_EQ(0u, c.WaitForExit(l));
         EXPECT_EQ("(never started)", c.Received(medium));
     }},
    {"AppletStaysWhenUserDeclines",
     "Remove Services with no installer and the user answers No: the applet stays and the run goes on until it "
     "is quit, exit 0",
     [](LauncherCase& c) {
         std::string medium = c.MakeMedium();
         Launcher& l = c.Start(medium, "-showdialog");
         Box applet, box;
         ASSERT_TRUE(c.NextBox(l, &applet));
         e2e::Press(applet.hwnd, kRemoveServices);
         ASSERT_TRUE(c.NextBox(l, &box));
         e2e::ExpectBox(box, kSetupTitle, kInstallerNotFound, "Yes,No", "Yes");
         EXPECT_EQ(applet.hwnd, GetWindow(box.hwnd, GW_OWNER)) << "the applet owns the question";
         e2e::Press(box.hwnd, IDNO);
         ASSERT_TRUE(c.WaitUntil([&] { return !IsWindow(box.hwnd); }, "the question to close"));
         EXPECT_TRUE(IsWindowVisible(applet.hwnd)) << "the applet stays";
         EXPECT_TRUE(c.StillRunning(l));
         e2e::Press(applet.hwnd, IDCANCEL);
         EXPECT_EQ(0u, c.WaitForExit(l));
     }},
    {"AppletLaunchFails",
     "Remove Services and the installer cannot be started: reported over the applet, which closes, and the run "
     "ends, exit 0",
     [](LauncherCase& c) {
         std::string medium = c.MakeMedium();
         ASSERT_TRUE(e2e::WriteFile(InstallerIn(medium), "This is a text file, not a program.\r\n"));
         Launcher& l = c.Start(medium, "-showdialog");
         Box applet, box;
         ASSERT_TRUE(c.NextBox(l, &applet));
         e2e::Press(applet.hwnd, kRemoveServices);
         ASSERT_TRUE(c.NextBox(l, &box));
         e2e::ExpectBox(box, "Error", kLaunchFailed, "OK", "OK");
         EXPECT_EQ(applet.hwnd, GetWindow(box.hwnd, GW_OWNER)) << "the active window, the applet, owns the report";
         e2e::Press(box.hwnd, IDOK);
         EXPECT_EQ(0u, c.WaitForExit(l));
     }},
    {"SecondApplet", "an applet already shows: a second -showdialog ends at once, showing nothing, exit 0",
     [](LauncherCase& c) {
         std::string medium = c.MakeMedium();
         Launcher& first = c.Start(medium, "-showdialog");
         Box applet;
         ASSERT_TRUE(c.NextBox(first, &applet));
         EXPECT_EQ(kServicesTitle, applet.caption);
         Launcher& second = c.Start(medium, "-showdialog");
         EXPECT_EQ(0u, c.WaitForExit(second));
         EXPECT_TRUE(second.boxes.empty());
         EXPECT_TRUE(IsWindowVisible(applet.hwnd)) << "the first applet stays";
         e2e::Press(applet.hwnd, IDCANCEL);
         EXPECT_EQ(0u, c.WaitForExit(first));
     }},
    {"RestartPending", "a restart is pending and the user declines it: nothing starts, the marker stays, exit 0",
     [](LauncherCase& c) {
         c.SetRestartMarker();
         std::string medium = c.MakeMedium();
         c.PutEngine(medium, kSetsAtOnce);
         Launcher& l = c.Start(medium, "");
         Box box;
         ASSERT_TRUE(c.NextBox(l, &box));
         e2e::ExpectBox(box, kSetupTitle, kRestartRequired, "Yes,No", "No");
         // Never Yes: that would restart Wine's whole session.
         e2e::Press(box.hwnd, IDNO);
         EXPECT_EQ(0u, c.WaitForExit(l));
         EXPECT_EQ("(never started)", c.Received(medium));
         EXPECT_TRUE(e2e::RestartMarkerPresent()) << "the launcher only reads the marker";
     }},
    {"PlatformRefused", "Windows NT 3.51 (Wine's version setting for setup.exe): refused with a box, exit 0",
     [](LauncherCase& c) {
         c.SetWineVersion("setup.exe", "nt351");
         std::string medium = c.MakeMedium();
         c.PutEngine(medium, kSetsAtOnce);
         Launcher& l = c.Start(medium, "");
         Box box;
         ASSERT_TRUE(c.NextBox(l, &box));
         e2e::ExpectBox(box, kSetupTitle, kWindowsUnsupported, "OK", "OK");
         e2e::Press(box.hwnd, IDOK);
         EXPECT_EQ(0u, c.WaitForExit(l));
         EXPECT_EQ("(never started)", c.Received(medium));
     }},
    {"ProgramFileVanished", "the launcher's own file is gone (renamed away) when the event comes: exit 1",
     [](LauncherCase& c) {
         std::string medium = c.MakeMedium();
         c.PutEngine(medium, kSetsWhenStopped);
         Launcher& l = c.Start(medium, "");
         EXPECT_EQ(InstallerIn(medium), c.WaitForEngine(medium));
         ASSERT_TRUE(MoveFileA((medium + "\\setup.exe").c_str(), (medium + "\\setup.gone").c_str()))
             << "cannot rename the running setup.exe (error " << GetLastError() << ")";
         ASSERT_TRUE(e2e::StopEngine(medium));
         EXPECT_EQ(1u, c.WaitForExit(l));
     }},
    {"ReleasedByANewLaunch",
     "the installer went away without setting the event; a new launch releases the waiting launcher: exit 0, "
     "and the new one waits for its own installer",
     [](LauncherCase& c) {
         std::string medium1 = c.MakeMedium("medium1");
         c.PutEngine(medium1, kExitsWithoutSetting);
         Launcher& first = c.Start(medium1, "");
         EXPECT_EQ(InstallerIn(medium1), c.WaitForEngine(medium1));
         // Its window gone with it, so that the new launch is not refused as a second installer.
         ASSERT_TRUE(c.WaitUntil(
             [&] {
                 for (const e2e::RunningProcess& p : e2e::ProcessesIn(medium1)) {
                     if (lstrcmpiA(p.image.c_str(), InstallerIn(medium1).c_str()) == 0) return false;
                 }
                 return true;
             },
             "the first installer to exit"));
         EXPECT_TRUE(c.StillRunning(first)) << "the first launcher must still wait";
         std::string medium2 = c.MakeMedium("medium2");
         c.PutEngine(medium2, kSetsWhenStopped);
         Launcher& second = c.Start(medium2, "");
         EXPECT_EQ(0u, c.WaitForExit(first));
         EXPECT_EQ(InstallerIn(medium2), c.WaitForEngine(medium2));
         EXPECT_TRUE(c.StillRunning(second)) << "the new launcher must wait for its own installer";
         ASSERT_TRUE(e2e::StopEngine(medium2));
         EXPECT_EQ(0u, c.WaitForExit(second));
     }},
};

class WaysARunEnds : public LauncherCase, public ::testing::WithParamInterface<RunEnd> {};

TEST_P(WaysARunEnds, Run) {
    SCOPED_TRACE(GetParam().why);
    GetParam().run(*this);
}

INSTANTIATE_TEST_SUITE_P(Launcher, WaysARunEnds, ::testing::ValuesIn(kRunEnds),
                         [](const ::testing::TestParamInfo<RunEnd>& info) { return std::string(info.param.name); });

// ---- The installer's command line ---------------------------------------------------------------

struct CommandLine {
    const char* name;
    const char* why;
    const char* args;      // "{medium}" stands for the medium's folder
    const char* scriptTxt;  // Script.TXT beside the launcher, or none
    const char* siteTxt;    // {medium}\site.txt, or none
    const char* expected;  // what the engine receives
};

void PrintTo(const CommandLine& row, std::ostream* os) { *os << row.name; }

const CommandLine kCommandLines[] = {
    {"NoArgumentsNoScript", "no arguments and no script: the bare installer path", "", nullptr, nullptr,
     "{medium}\\ishield.app"},
    {"UninstallWithHiddenScript", "-uninstall given, the script asks for uninstalling and a hidden interface",
     "-uninstall", "[Setup]\r\nUninstall=TRUE\r\nUser Interface=HIDDEN\r\n", nullptr,
     "{medium}\\ishield.app -uninstall -s"},
    {"ScriptNamedOnTheCommandLine", "-script= names the script, which asks for uninstalling and SMS",
     "-script={medium}\\site.txt", nullptr, "[Setup]\r\nUninstall=TRUE\r\nSMS=TRUE\r\n",
     "{medium}\\ishield.app -ascrpt={medium}\\site.txt -uninstall -SMS"},
    {"ScriptFollowedByAnotherSwitch",
     "-script= before another switch: the path ends at the next dash (a blank stays on the name) and the "
     "switch is passed on",
     "-script={medium}\\site.txt -x", nullptr, "[Setup]\r\nSMS=TRUE\r\n",
     "{medium}\\ishield.app -ascrpt={medium}\\site.txt -x -SMS"},
    {"ShowDialogWithTrailingBlank", "\"-showdialog \" is not the applet's switch: a setup run that passes it on",
     "-showdialog ", nullptr, nullptr, "{medium}\\ishield.app -showdialog "},
};

class InstallerCommandLine : public LauncherCase, public ::testing::WithParamInterface<CommandLine> {};

TEST_P(InstallerCommandLine, EngineReceives) {
    const CommandLine& row = GetParam();
    SCOPED_TRACE(row.why);
    std::string medium = MakeMedium();
    PutEngine(medium, kSetsAtOnce);
    if (row.scriptTxt) {
        ASSERT_TRUE(e2e::WriteFile(medium + "\\Script.TXT", row.scriptTxt));
    }
    if (row.siteTxt) {
        ASSERT_TRUE(e2e::WriteFile(medium + "\\site.txt", row.siteTxt));
    }
    Launcher& l = Start(medium, WithMedium(row.args, medium));
    EXPECT_EQ(WithMedium(row.expected, medium), WaitForEngine(medium));
    EXPECT_EQ(0u, WaitForExit(l));
    EXPECT_TRUE(l.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Launcher, InstallerCommandLine, ::testing::ValuesIn(kCommandLines),
                         [](const ::testing::TestParamInfo<CommandLine>& info) {
                             return std::string(info.param.name);
                         });

class SetupFolder : public LauncherCase {};

TEST_F(SetupFolder, WithBlanksIsQuotedAndNoPrefixProgramRuns) {
    // "<root>\corvane medium\ishield.app" read by the system's own rules could start
    // "<root>\corvane.exe"; that planted program records its start beside itself if it runs.
    std::string medium = MakeMedium("corvane medium");
    PutEngine(medium, kSetsAtOnce);
    PutEngine(Root(), "window=0\r\ncomplete=exit\r\ndelay=0\r\n", "corvane.exe");
    Launcher& l = Start(medium, "");
    EXPECT_EQ("\"" + InstallerIn(medium) + "\"", WaitForEngine(medium));
    EXPECT_EQ(0u, WaitForExit(l));
    // Whatever the launcher started has a process until it ends; only then is "never ran" sure.
    EXPECT_TRUE(WaitUntil([&] { return e2e::ProcessesIn(Root()).empty(); }, "every program of the case to end"));
    EXPECT_EQ("(never started)", Received(Root())) << "the planted program ran";
}

// ---- The platform gate under Wine's per-program Windows version ------------------------------

struct GatePass {
    const char* version;  // Wine's name for it
    const char* why;
};

void PrintTo(const GatePass& row, std::ostream* os) { *os << row.version; }

const GatePass kGatePasses[] = {
    {"win95", "Windows 95 passes whatever its version number, without the administrator test"},
    {"nt40", "Windows NT 4.0 passes for a member of the Administrators group (Wine's user is one)"},
};

class PlatformGate : public LauncherCase, public ::testing::WithParamInterface<GatePass> {};

TEST_P(PlatformGate, LetsTheRunThrough) {
    SCOPED_TRACE(GetParam().why);
    SetWineVersion("setup.exe", GetParam().version);
    std::string medium = MakeMedium();
    PutEngine(medium, kSetsAtOnce);
    Launcher& l = Start(medium, "");
    EXPECT_EQ(InstallerIn(medium), WaitForEngine(medium));
    EXPECT_EQ(0u, WaitForExit(l));
    EXPECT_TRUE(l.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Launcher, PlatformGate, ::testing::ValuesIn(kGatePasses),
                         [](const ::testing::TestParamInfo<GatePass>& info) {
                             return std::string(info.param.version);
                         });

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
