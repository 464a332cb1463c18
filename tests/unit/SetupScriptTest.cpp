// CSetupScript: where the script is looked for, the "User Interface" setting read at
// construction, and the settings of whole scripts as the installer launch reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "LauncherHarness.h"
#include "SetupScript.h"

namespace {

const char kUserInterfaceRead[] = "GetPrivateProfileStringA(\"Setup\",\"User Interface\",\"C:\\MEDIA\\Script.TXT\")";

class SetupScriptTest : public test::WorldTest {
protected:
    // Binds the test thread to a launcher process whose program file is image and whose
    // current folder is currentDir (empty: the image's folder).
    void RunAs(const std::string& image, const std::string& currentDir = "") {
        winsim::World::ProcessOptions o = test::LauncherProcess();
        o.imagePath = image;
        o.commandLine = "\"" + image + "\"";
        o.currentDir = currentDir;
        m_scope.reset();
        m_scope.reset(new winsim::World::ProcessScope(o));
    }
    void TearDown() override {
        m_scope.reset();
        WorldTest::TearDown();
    }
    std::unique_ptr<winsim::World::ProcessScope> m_scope;
};

TEST_F(SetupScriptTest, ScriptPathFromFolderAndName) {
    struct Row {
        const char* image;  // the launcher's own program file
        const char* folder;
        const char* name;
        const char* path;
        const char* reason;
    } rows[] = {
        {"C:\\MEDIA\\setup.exe", "C:\\Disk1", "Custom.ini", "C:\\Disk1\\Custom.ini", "both given: one backslash between"},
        {"C:\\MEDIA\\setup.exe", "C:\\Disk1\\", "", "C:\\Disk1\\Script.TXT", "a folder's own backslash is not doubled"},
        {"C:\\MEDIA\\setup.exe", "", "", "C:\\MEDIA\\Script.TXT", "neither given: Script.TXT beside the launcher"},
        {"D:\\setup.exe", "", "", "D:\\Script.TXT", "a launcher at a drive's root"},
        {"C:\\MEDIA\\setup.exe", "", "site.txt", "C:\\MEDIA\\site.txt", "a name alone is beside the launcher"},
        {"C:\\MEDIA\\setup.exe", "C:", "my", "C:\\my", "a folder cut at a dash in the switch"},
        {"C:\\MEDIA\\setup.exe", "C:\\cfg", "a.txt ", "C:\\cfg\\a.txt ", "the blank before the next switch stays"},
        {"C:\\MEDIA\\setup.exe", "cfg", "a.txt", "cfg\\a.txt", "a relative folder stays relative"},
        {"C:\\MEDIA\\setup.exe", "\"C:\\cfg", "a.txt\"", "\"C:\\cfg\\a.txt\"", "quotes stay where they were"},
    };
    for (const Row& row : rows) {
        RunAs(row.image);
        CSetupScript script(row.folder, row.name);
        EXPECT_EQ(CString(row.path), script.m_profile.m_strPath) << row.reason;
    }
}

TEST_F(SetupScriptTest, DefaultFolderIsTheLaunchersOwnAfterBrowsing) {
    // The user browsed to an installer elsewhere, and the launcher runs in a third folder: each
    // holds a script, and only the one beside the launcher counts.
    RunAs(test::kSetupExe, "C:\\WORK");
    world().AddFile("C:\\MEDIA\\Script.TXT", "[Setup]\nUser Interface=HIDDEN\n");
    world().AddFile("E:\\OTHER\\Script.TXT", "[Setup]\nUser Interface=VISIBLE\n");
    world().AddFile("C:\\WORK\\Script.TXT", "[Setup]\nUser Interface=VISIBLE\n");
    CSetupApp app;
    app.m_strSetupDir = "E:\\OTHER";
    CSetupScript script("", "");
    EXPECT_EQ(CString("C:\\MEDIA\\Script.TXT"), script.m_profile.m_strPath);
    EXPECT_EQ(UI_HIDDEN, script.m_nUserInterface);
}

TEST_F(SetupScriptTest, UserInterfaceSetting) {
    struct Row {
        const char* script;  // NULL: no file
        int expected;
        const char* reason;
    } rows[] = {
        {"[Setup]\nUser Interface=hidden\n", UI_HIDDEN, "lower case"},
        {"[Setup]\nUser Interface=Hidden\n", UI_HIDDEN, "mixed case"},
        {"[Setup]\nUser Interface=HIDDEN\n", UI_HIDDEN, "upper case"},
        {"[SETUP]\r\n  user interface = \"HIDDEN\"  \r\n", UI_HIDDEN, "names in any case, blanks and quotes"},
        {"[Setup]\nUser Interface=VISIBLE\n", UI_VISIBLE, "the other word"},
        {"[Setup]\nUser Interface=SILENT\n", UI_VISIBLE, "a word not in the table"},
        {"[Setup]\nUser Interface=HIDDEN ; quiet\n", UI_VISIBLE, "text after the word is part of the value"},
        {"[Setup]\nUser Interface=\n", UI_VISIBLE, "an empty value"},
        {"[Setup]\nUserInterface=HIDDEN\n", UI_VISIBLE, "the key's name has a blank"},
        {"[Setup]\n;User Interface=HIDDEN\n", UI_VISIBLE, "a commented-out line"},
        {"[Other]\nUser Interface=HIDDEN\n", UI_VISIBLE, "under another section"},
        {NULL, UI_VISIBLE, "no script"},
    };
    for (const Row& row : rows) {
        RunAs(test::kSetupExe);
        world().RemoveFile("C:\\MEDIA\\Script.TXT");
        if (row.script) world().AddFile("C:\\MEDIA\\Script.TXT", row.script);
        CSetupScript script("", "");
        EXPECT_EQ(row.expected, script.m_nUserInterface) << row.reason;
    }
}

// The three settings as the installer launch reads them.
TEST_F(SetupScriptTest, SettingsOfWholeScripts) {
    struct Row {
        const char* script;  // NULL: no file
        int userInterface, uninstall, sms;
        const char* reason;
    } rows[] = {
        {NULL, UI_VISIBLE, 0, 0, "no script: every default"},
        {"[Setup]\nUser Interface=HIDDEN\nUninstall=TRUE\nSMS=1\n", UI_HIDDEN, 1, 1, "all three set"},
        {"[Setup]\nUninstall=FALSE\nSMS=0\n", UI_VISIBLE, 0, 0, "all three unset"},
        {"[Other]\nUser Interface=HIDDEN\nUninstall=1\nSMS=1\n[Setup]\n", UI_VISIBLE, 0, 0,
         "the keys under another section have no effect"},
        {"[Setup]\nUninstall=0\n[Uninstall]\nUninstall=1\nSMS=1\n", UI_VISIBLE, 0, 0,
         "nor under a section named like a key"},
        {"[Setup]\nSMS=1\n[Setup]\nUninstall=1\n", UI_VISIBLE, 0, 1, "a repeated section is not read"},
    };
    for (const Row& row : rows) {
        RunAs(test::kSetupExe);
        world().RemoveFile("C:\\MEDIA\\Script.TXT");
        if (row.script) world().AddFile("C:\\MEDIA\\Script.TXT", row.script);
        CSetupScript script("", "");
        EXPECT_EQ(row.userInterface, script.m_nUserInterface) << row.reason;
        EXPECT_EQ(row.uninstall, script.ReadBool("Setup", "Uninstall", 0)) << row.reason;
        EXPECT_EQ(row.sms, script.ReadBool("Setup", "SMS", 0)) << row.reason;
    }
}

TEST_F(SetupScriptTest, WhichFileIsRead) {
    struct Row {
        const char* currentDir;
        const char* folder;
        const char* name;
        const char* file;  // where the script with SMS=1 lies
        int sms;
        const char* reason;
    } rows[] = {
        {"C:\\MEDIA", "C:\\cfg", "a.txt ", "C:\\cfg\\a.txt", 1, "a blank after the name is ignored"},
        {"C:\\WORK", "cfg", "a.txt", "C:\\WORK\\cfg\\a.txt", 1, "a relative folder is in the current folder"},
        {"C:\\WORK", "cfg", "a.txt", "C:\\MEDIA\\cfg\\a.txt", 0, "... not in the launcher's folder"},
        {"C:\\WORK", "", "site.txt", "C:\\MEDIA\\site.txt", 1, "a name alone is beside the launcher"},
        {"C:\\MEDIA", "C:\\cfg ", "a.txt", "C:\\cfg\\a.txt", 0, "a blank after a folder names another"},
    };
    for (const Row& row : rows) {
        RunAs(test::kSetupExe, row.currentDir);
        world().AddFile(row.file, "[Setup]\nSMS=1\n");
        CSetupScript script(row.folder, row.name);
        EXPECT_EQ(row.sms, script.ReadBool("Setup", "SMS", 0)) << row.reason;
        world().RemoveFile(row.file);
    }
}

TEST_F(SetupScriptTest, UserInterfaceIsReadOnceBooleansAtEachCall) {
    RunAs(test::kSetupExe);
    world().AddFile("C:\\MEDIA\\Script.TXT", "[Setup]\nUser Interface=HIDDEN\nSMS=1\n");
    CSetupScript script("", "");
    world().AddFile("C:\\MEDIA\\Script.TXT", "[Setup]\nUser Interface=VISIBLE\nSMS=0\n");
    EXPECT_EQ(UI_HIDDEN, script.m_nUserInterface);
    EXPECT_EQ(0, script.ReadBool("Setup", "SMS", 1));
    auto calls = world().Calls();
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), kUserInterfaceRead));
}

}  // namespace
