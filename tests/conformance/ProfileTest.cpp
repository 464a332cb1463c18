// GetPrivateProfileStringA as the setup script reader uses it: the contract of its return
// value and buffer, the rules by which it reads INI text, and how it finds the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "Platform.h"

namespace {

const DWORD kBufferSize = 260;  // what the setup script reader passes

// Reads with a buffer pre-filled with a sentinel and checks the text it receives, that the
// return value is that text's length, and that nothing was written behind the buffer.
void ExpectRead(const std::string& path, const char* section, const char* key, const char* defaultText,
                const std::string& expected, const std::string& reason) {
    char buffer[kBufferSize + 8];
    std::memset(buffer, 0xcc, sizeof buffer);
    DWORD n = GetPrivateProfileStringA(section, key, defaultText, buffer, kBufferSize, path.c_str());
    EXPECT_EQ(expected, std::string(buffer, std::find(buffer, buffer + kBufferSize, '\0'))) << reason;
    EXPECT_EQ(expected.size(), n) << reason;
    EXPECT_EQ(static_cast<char>(0xcc), buffer[kBufferSize]) << reason << ": wrote behind the buffer";
}

struct IniRow {
    const char* reason;
    std::string ini;  // the file's bytes
    const char* section;
    const char* key;
    const char* defaultText;
    std::string expected;  // what the buffer receives; the return value is its length
};

TEST(Profile, IniTextRules) {
    const IniRow rows[] = {
        // Line ends and the end of the file.
        {"CRLF line ends", "[Setup]\r\nUninstall=1\r\nSMS=2\r\n", "Setup", "SMS", "", "2"},
        {"LF line ends", "[Setup]\nUninstall=1\nSMS=2\n", "Setup", "SMS", "", "2"},
        {"CR alone ends a line too", "[Setup]\rUninstall=1\rSMS=2\r", "Setup", "SMS", "", "2"},
        {"no newline at the end", "[Setup]\nSMS=TRUE", "Setup", "SMS", "", "TRUE"},
        {"blank lines", "\n\n[Setup]\n\n \t \nSMS=1\n\n", "Setup", "SMS", "", "1"},
        // Section and key names.
        {"section name ignores case", "[sEtUp]\nSMS=1\n", "SETUP", "SMS", "", "1"},
        {"key name ignores case", "[Setup]\nuser interface=HIDDEN\n", "Setup", "USER INTERFACE", "", "HIDDEN"},
        {"a blank inside a key name belongs to it", "[Setup]\nUser Interface=HIDDEN\n", "Setup", "UserInterface", "d", "d"},
        {"blanks around the section line", "  [Setup]  \nSMS=1\n", "Setup", "SMS", "", "1"},
        {"blanks and tabs inside the brackets", "[ \tSetup\t ]\nSMS=1\n", "Setup", "SMS", "", "1"},
        {"text after the closing bracket", "[Setup] x\nSMS=1\n", "Setup", "SMS", "", "1"},
        {"the section name ends at the last bracket", "[Se]tup]\nSMS=1\n", "Se]tup", "SMS", "", "1"},
        {"a line with no closing bracket is ignored", "[Other]\n[Setup\nSMS=1\n", "Other", "SMS", "", "1"},
        {"an empty section name finds nothing", "[]\nSMS=1\n", "", "SMS", "d", "d"},
        {"blanks around key and value", "[Setup]\n  User Interface  =  HIDDEN  \n", "Setup", "User Interface", "", "HIDDEN"},
        {"tabs around key and value", "[Setup]\n\tSMS\t=\t1\t\n", "Setup", "SMS", "", "1"},
        // Values.
        {"the value runs to the end of the line", "[Setup]\nA=b=c ; d\n", "Setup", "A", "", "b=c ; d"},
        {"blanks inside a value stay", "[Setup]\nSMS = 1 2 \n", "Setup", "SMS", "", "1 2"},
        {"double quotes are removed", "[Setup]\nA=\"HIDDEN\"\n", "Setup", "A", "", "HIDDEN"},
        {"single quotes are removed", "[Setup]\nA='HIDDEN'\n", "Setup", "A", "", "HIDDEN"},
        {"blanks inside quotes stay", "[Setup]\nA=\" HIDDEN \"\n", "Setup", "A", "", " HIDDEN "},
        {"quotes inside blanks are removed", "[Setup]\nA =  \"HIDDEN\"  \n", "Setup", "A", "", "HIDDEN"},
        {"an equals sign inside quotes", "[Setup]\nA = ' x = y '\n", "Setup", "A", "", " x = y "},
        {"quotes that do not match stay", "[Setup]\nA=\"HIDDEN'\n", "Setup", "A", "", "\"HIDDEN'"},
        {"an opening quote alone stays", "[Setup]\nA=\"HIDDEN\n", "Setup", "A", "", "\"HIDDEN"},
        {"a closing quote alone stays", "[Setup]\nA=HIDDEN\"\n", "Setup", "A", "", "HIDDEN\""},
        {"a single quote character stays", "[Setup]\nA=\"\n", "Setup", "A", "", "\""},
        {"quotes not at both ends stay", "[Setup]\nA=\"x\" y\n", "Setup", "A", "", "\"x\" y"},
        {"only one pair of quotes goes", "[Setup]\nA=\"\"x\"\"\n", "Setup", "A", "", "\"x\""},
        {"empty quotes are an empty value", "[Setup]\nA=\"\"\n", "Setup", "A", "d", ""},
        {"an empty value is not the default", "[Setup]\nA=\n", "Setup", "A", "d", ""},
        {"a value of blanks is empty", "[Setup]\nA=   \n", "Setup", "A", "d", ""},
        {"a key line without an equals sign gives the default", "[Setup]\nA\n", "Setup", "A", "d", "d"},
        {"... and hides a later line of that key", "[Setup]\nSMS\nSMS=1\n", "Setup", "SMS", "d", "d"},
        {"the value is cut to 259 characters", "[Setup]\nA=" + std::string(300, '7') + "\n", "Setup", "A", "",
         std::string(259, '7')},
        // Comments. The profile function has no comment syntax of its own: a line starting with a
        // semicolon is a key whose name starts with one, so it never sets a key of ours.
        {"a commented-out key is not set", "[Setup]\n;SMS=1\n", "Setup", "SMS", "d", "d"},
        {"... it is a key named with the semicolon", "[Setup]\n;SMS=1\n", "Setup", ";SMS", "d", "1"},
        {"a note line between keys changes nothing", "[Setup]\n; a note\nSMS=1\n", "Setup", "SMS", "", "1"},
        {"a commented-out section starts none", "[Setup]\n;[Other]\nSMS=1\n", "Setup", "SMS", "", "1"},
        // Repeats and placement.
        {"the first of repeated keys wins", "[Setup]\nSMS=1\nsms=0\n", "Setup", "SMS", "", "1"},
        {"the first of repeated sections wins", "[Setup]\nSMS=1\n[Other]\n[SETUP]\nSMS=0\n", "Setup", "SMS", "", "1"},
        {"a key only in a repeated section is not seen", "[Setup]\nA=1\n[Other]\n[Setup]\nSMS=0\n", "Setup", "SMS",
         "d", "d"},
        {"a key before any section", "SMS=1\n[Setup]\n", "Setup", "SMS", "d", "d"},
        {"a key under another section", "[Other]\nSMS=1\n[Setup]\nA=1\n", "Setup", "SMS", "d", "d"},
        // Defaults.
        {"a missing key gives the default", "[Setup]\nA=1\n", "Setup", "SMS", "VISIBLE", "VISIBLE"},
        {"a missing section gives the default", "[Other]\nSMS=1\n", "Setup", "SMS", "VISIBLE", "VISIBLE"},
        {"an empty file gives the default", "", "Setup", "SMS", "VISIBLE", "VISIBLE"},
        {"trailing blanks of the default are dropped", "", "Setup", "SMS", "VISIBLE  ", "VISIBLE"},
        {"leading blanks of the default stay", "", "Setup", "SMS", "  VISIBLE", "  VISIBLE"},
        {"a missing key with an empty default", "[Setup]\n", "Setup", "SMS", "", ""},
    };
    int i = 0;
    for (const IniRow& row : rows) {
        // A file of its own for each row, so that no cached copy of an earlier row is read.
        std::string path = conformance::TestFilePath(("corvane_profile_" + std::to_string(i++) + ".ini").c_str());
        conformance::WriteTestFile(path, row.ini);
        ExpectRead(path, row.section, row.key, row.defaultText, row.expected, row.reason);
        conformance::DeleteTestFile(path);
    }
}

TEST(Profile, MissingFileGivesTheDefault) {
    std::string path = conformance::TestFilePath("corvane_profile_absent.ini");
    conformance::DeleteTestFile(path);
    ExpectRead(path, "Setup", "SMS", "VISIBLE", "VISIBLE", "a default");
    ExpectRead(path, "Setup", "SMS", "", "", "an empty default");
    ExpectRead(path, "Setup", "SMS", "VISIBLE ", "VISIBLE", "a default with a trailing blank");
}

// The script path the launcher composes can end in the blank that stood before the next switch
// on its command line. The file functions drop trailing blanks and dots of the file name, but of
// a folder name only the dots.
TEST(Profile, TrailingBlanksAndDotsOfPathComponents) {
    const std::string path = conformance::TestFilePath("corvane_profile_path.ini");
    const size_t slash = path.rfind('\\');
    const std::string folder = path.substr(0, slash), name = path.substr(slash);  // name keeps its backslash
    conformance::WriteTestFile(path, "[Setup]\nSMS=1\n");
    struct {
        std::string query;
        const char* expected;
        const char* reason;
    } rows[] = {
        {path, "1", "the path as written"},
        {path + " ", "1", "a blank after the file name"},
        {path + "  ", "1", "two blanks after the file name"},
        {path + ".", "1", "a dot after the file name"},
        {path + " . ", "1", "blanks and dots after the file name"},
        {folder + "." + name, "1", "a dot after a folder name"},
        {folder + ".." + name, "1", "two dots after a folder name"},
        {folder + " " + name, "d", "a blank after a folder name names another folder"},
    };
    for (const auto& row : rows) ExpectRead(row.query, "Setup", "SMS", "d", row.expected, row.reason);
    conformance::DeleteTestFile(path);
}

TEST(Profile, RelativePathsResolveAgainstTheCurrentFolder) {
    char current[MAX_PATH + 1] = "";
    ASSERT_NE(0u, GetCurrentDirectoryA(sizeof current, current));
    std::string folder(current);
    if (folder.back() != '\\') folder += '\\';
    const std::string path = folder + "corvane_profile_here.ini";
    conformance::WriteTestFile(path, "[Setup]\nSMS=1\n");
    ExpectRead(".\\corvane_profile_here.ini", "Setup", "SMS", "d", "1", "a relative path with a backslash");
    // A name without any backslash is looked for in the Windows folder instead.
    ExpectRead("corvane_profile_here.ini", "Setup", "SMS", "d", "d", "a bare file name");
    conformance::DeleteTestFile(path);
}

}  // namespace
