// The installer's command line, composed from the launcher's arguments and the script's
// answers, and the "-script=" switch's scan.
#include <gtest/gtest.h>

#include "InstallerCommandLine.h"
#include "SetupScript.h"

namespace {

const INSTALLER_SCRIPT_ANSWERS kDefaults = {0, UI_VISIBLE, 0};

TEST(InstallerCommandLine, ComposesPiecesInOrder) {
    struct Row {
        const char* path;
        const char* args;
        INSTALLER_SCRIPT_ANSWERS answers;
        const char* expected;
        const char* why;
    } rows[] = {
        {"D:\\SETUP\\ishield.app", "", kDefaults, "D:\\SETUP\\ishield.app", "bare installer path"},
        {"D:\\SETUP\\ishield.app", "-uninstall", {1, UI_HIDDEN, 0}, "D:\\SETUP\\ishield.app -uninstall -s",
         "one -uninstall even when the script asks too"},
        {"D:\\SETUP\\ishield.app", "-script=A:\\site.txt", {1, UI_VISIBLE, 1},
         "D:\\SETUP\\ishield.app -ascrpt=A:\\site.txt -uninstall -SMS", "script switch rewritten, both switches"},
        {"D:\\SETUP\\ishield.app", "-uninstaller", {1, UI_VISIBLE, 0}, "D:\\SETUP\\ishield.app -uninstaller",
         "-uninstall inside a longer word counts"},
        {"D:\\SETUP\\ishield.app", "x-uninstall", {1, UI_VISIBLE, 0}, "D:\\SETUP\\ishield.app x-uninstall",
         "-uninstall at the end of a word counts"},
        {"D:\\SETUP\\ishield.app", "-UNINSTALL", {1, UI_VISIBLE, 0}, "D:\\SETUP\\ishield.app -UNINSTALL -uninstall",
         "the test for -uninstall is case-sensitive"},
        {"D:\\SETUP\\ishield.app", "", {1, UI_VISIBLE, 0}, "D:\\SETUP\\ishield.app -uninstall", "script asks"},
        {"D:\\SETUP\\ishield.app", "", {7, UI_VISIBLE, 7}, "D:\\SETUP\\ishield.app", "only 1 counts as true"},
        {"D:\\SETUP\\ishield.app", "", {0, UI_HIDDEN, 1}, "D:\\SETUP\\ishield.app -s -SMS", "silent and SMS"},
        {"D:\\SETUP\\ishield.app", "-script=C:\\cfg\\a.txt -x", kDefaults,
         "D:\\SETUP\\ishield.app -ascrpt=C:\\cfg\\a.txt -x", "path followed by another switch"},
        {"D:\\SETUP\\ishield.app", "-script=", kDefaults, "D:\\SETUP\\ishield.app -ascrpt=", "empty script switch"},
        {"D:\\SETUP\\ishield.app", "-SCRIPT=x", kDefaults, "D:\\SETUP\\ishield.app -SCRIPT=x", "upper case not recognised"},
        {"D:\\SETUP\\ishield.app", "-script=a -script=b", kDefaults, "D:\\SETUP\\ishield.app -ascrpt=a -script=b",
         "only the first switch is rewritten"},
        {"D:\\SETUP\\ishield.app", "-script=\"C:\\q d\\a.txt\"", kDefaults,
         "D:\\SETUP\\ishield.app -ascrpt=\"C:\\q d\\a.txt\"", "quotes pass through"},
        {"D:\\SETUP\\ishield.app", "  odd   spacing ", kDefaults, "D:\\SETUP\\ishield.app   odd   spacing ",
         "arguments passed on whole"},
        {"C:\\Program Files\\Corvane\\ishield.app", "", kDefaults, "\"C:\\Program Files\\Corvane\\ishield.app\"",
         "a path with a blank is quoted"},
        {"C:\\Disk\tOne\\ishield.app", "-s2", kDefaults, "\"C:\\Disk\tOne\\ishield.app\" -s2", "a tab counts as a blank"},
    };
    for (const Row& row : rows) {
        EXPECT_STREQ(row.expected, ComposeInstallerCommandLine(row.path, row.args, row.answers)) << row.why;
    }
}

TEST(InstallerCommandLine, ScriptSwitchGivesFolderAndName) {
    struct Row {
        const char* args;
        int position;
        const char* folder;
        const char* name;
        const char* why;
    } rows[] = {
        {"-script=C:\\cfg\\a.txt -x", 0, "C:\\cfg", "a.txt ", "the blank before the next switch stays"},
        {"-script=C:\\my-files\\a.txt", 0, "C:", "my", "a dash inside the path cuts it"},
        {"-script=site.txt", 0, "", "site.txt", "no backslash: launcher's own folder"},
        {"-script=", 0, "", "", "nothing after the switch"},
        {"-SCRIPT=x", -1, "", "", "upper case not recognised"},
        {"/q -script=\"C:\\q d\\a.txt\"", 3, "\"C:\\q d", "a.txt\"", "quotes copied into folder and name"},
        {"-script=a -script=b", 0, "", "a ", "the scan stops at the next switch's dash"},
        {"-script=\\\\srv\\share\\s.ini", 0, "\\\\srv\\share", "s.ini", "network path"},
    };
    for (const Row& row : rows) {
        CString text, folder, name;
        EXPECT_EQ(row.position, ScanScriptSwitch(row.args, text)) << row.why;
        SplitScriptPath(text, folder, name);
        EXPECT_STREQ(row.folder, folder) << row.why;
        EXPECT_STREQ(row.name, name) << row.why;
    }
}

}  // namespace
