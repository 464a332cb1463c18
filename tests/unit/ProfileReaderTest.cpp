// CProfileReader: boolean and enumerated settings, the defaults when nothing is read, and the
// table walks.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "LauncherHarness.h"
#include "ProfileReader.h"
#include "SetupScript.h"

namespace {

const char kScript[] = "C:\\MEDIA\\Script.TXT";

// The test thread runs as the launcher's process; kScript is the reader's file.
class ProfileReaderTest : public test::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        m_scope.reset(new winsim::World::ProcessScope(test::LauncherProcess()));
        m_reader.SetPath(kScript);
    }
    void TearDown() override {
        m_scope.reset();
        WorldTest::TearDown();
    }
    // Whether the profile function was asked for anything at all.
    bool ProfileRead() {
        auto calls = world().Calls();
        return std::any_of(calls.begin(), calls.end(),
                           [](const std::string& c) { return c.find("GetPrivateProfileStringA") == 0; });
    }
    std::unique_ptr<winsim::World::ProcessScope> m_scope;
    CProfileReader m_reader;
};

TEST_F(ProfileReaderTest, ReadBoolOfAValue) {
    const int kDefault = 5;  // neither 0 nor 1, so a default that comes back shows
    struct Row {
        std::string value;  // as written after "Key=" in the file
        int expected;
        const char* reason;
    } rows[] = {
        {"true", 1, "the word TRUE in lower case"},
        {"TRUE", 1, "the word TRUE"},
        {"True", 1, "the word TRUE in mixed case"},
        {"false", 0, "the word FALSE"},
        {"FALSE", 0, "the word FALSE in upper case"},
        {"1", 1, "one"},
        {"7", 1, "any non-zero number"},
        {"-1", 1, "a negative number"},
        {"1abc", 1, "the number ends at the first non-digit"},
        {"\"  +3\"", 1, "blanks (kept by the quotes) and a plus sign before the digits"},
        {"99999999999", 1, "a number too large for an integer is still non-zero"},
        {"0", 0, "zero"},
        {"00", 0, "zero with a leading zero"},
        {"-0", 0, "negative zero"},
        {"0x10", 0, "a decimal number: the 0 before the x"},
        {"yes", 0, "no other words"},
        {"abc", 0, "no digits"},
        {"+", 0, "a sign without digits"},
        {"TRUEx", 0, "the word must be whole"},
        {"\" TRUE\"", 0, "a blank kept before the word makes it another text"},
        {std::string(259, '0') + "1", 0, "only the first 259 characters count"},
        {"", kDefault, "an empty value reads nothing"},
        {"\"\"", kDefault, "empty quotes are an empty value"},
    };
    for (const Row& row : rows) {
        world().AddFile(kScript, "[Setup]\r\nKey=" + row.value + "\r\n");
        EXPECT_EQ(row.expected, m_reader.ReadBool("Setup", "Key", kDefault)) << row.reason;
    }
}

TEST_F(ProfileReaderTest, NothingToReadGivesTheDefault) {
    struct Row {
        const char* script;  // NULL: no file
        const char* reason;
    } rows[] = {
        {NULL, "no file"},
        {"[Other]\nKey=1\nWord=HIDDEN\n", "no section Setup; the keys are under another"},
        {"[Setup]\nOther=1\n", "no such key"},
        {"[Setup]\nKey\nWord\n", "key lines without an equals sign"},
    };
    for (const Row& row : rows) {
        world().RemoveFile(kScript);
        if (row.script) world().AddFile(kScript, row.script);
        for (int nDefault : {0, 1, -3}) {
            EXPECT_EQ(nDefault, m_reader.ReadBool("Setup", "Key", nDefault)) << row.reason;
        }
        // The default's own word comes back from the profile function and maps to it again.
        EXPECT_EQ(UI_HIDDEN, m_reader.ReadEnum("Setup", "Word", g_UserInterfaceTable, UI_HIDDEN)) << row.reason;
        EXPECT_EQ(7, m_reader.ReadEnum("Setup", "Word", g_UserInterfaceTable, 7))
            << row.reason << ": a default the table does not name";
    }
}

TEST_F(ProfileReaderTest, EmptyNamesNeverConsultTheFile) {
    // Read, the key with the empty name would give 1 (and, as a word, 0); an empty section name
    // or a missing table is proved unread by the record of calls.
    world().AddFile(kScript, "[Setup]\n=1\n");
    EXPECT_EQ(5, m_reader.ReadBool("Setup", "", 5));
    EXPECT_EQ(5, m_reader.ReadBool("", "Key", 5));
    EXPECT_EQ(5, m_reader.ReadBool("", "", 5));
    EXPECT_EQ(5, m_reader.ReadEnum("Setup", "", g_UserInterfaceTable, 5));
    EXPECT_EQ(5, m_reader.ReadEnum("", "Key", g_UserInterfaceTable, 5));
    EXPECT_EQ(5, m_reader.ReadEnum("Setup", "Key", NULL, 5)) << "no table";
    EXPECT_FALSE(ProfileRead());
}

TEST_F(ProfileReaderTest, ReadEnumOfAValue) {
    // Words in table order; "TWO" twice, with a value of 0 and another behind the end entry.
    const PROFILE_ENUM_ENTRY table[] = {
        {1, "ONE"}, {2, "TWO"}, {3, "two"}, {0, "ZERO"}, {0, NULL}, {9, "NINE"},
    };
    const int kDefault = 5;
    struct Row {
        const char* value;
        int expected;
        const char* reason;
    } rows[] = {
        {"ONE", 1, "a word of the table"},
        {"one", 1, "case is ignored"},
        {"Two", 2, "the first entry with the word wins"},
        {"ZERO", 0, "a word whose value is 0"},
        {"NINE", 0, "a word behind the end entry is not in the table"},
        {"FOUR", 0, "an unknown word gives 0, not the default"},
        {"ONE TWO", 0, "the whole text is the word"},
        {"", kDefault, "an empty value reads nothing"},
    };
    for (const Row& row : rows) {
        world().AddFile(kScript, std::string("[Setup]\nWord=") + row.value + "\n");
        EXPECT_EQ(row.expected, m_reader.ReadEnum("Setup", "Word", table, kDefault)) << row.reason;
    }
}

TEST_F(ProfileReaderTest, ValueToNameGivesTheFirstWordOfTheValue) {
    const PROFILE_ENUM_ENTRY table[] = {{1, "ONE"}, {1, "UNO"}, {0, NULL}, {2, "TWO"}};
    EXPECT_EQ(CString("ONE"), CProfileReader::ValueToName(table, 1));
    EXPECT_EQ(CString(""), CProfileReader::ValueToName(table, 2)) << "behind the end entry";
    EXPECT_EQ(CString(""), CProfileReader::ValueToName(table, 0)) << "the end entry names nothing";
    EXPECT_EQ(CString(""), CProfileReader::ValueToName(NULL, 1));
    EXPECT_EQ(CString("HIDDEN"), CProfileReader::ValueToName(g_UserInterfaceTable, UI_HIDDEN));
    EXPECT_EQ(CString("VISIBLE"), CProfileReader::ValueToName(g_UserInterfaceTable, UI_VISIBLE));
}

TEST_F(ProfileReaderTest, EachReadGoesToTheFileAgain) {
    world().AddFile(kScript, "[Setup]\nKey=1\n");
    EXPECT_EQ(1, m_reader.ReadBool("Setup", "Key", 0));
    world().AddFile(kScript, "[Setup]\nKey=0\n");
    EXPECT_EQ(0, m_reader.ReadBool("Setup", "Key", 1));
    world().RemoveFile(kScript);
    EXPECT_EQ(7, m_reader.ReadBool("Setup", "Key", 7));
}

}  // namespace
