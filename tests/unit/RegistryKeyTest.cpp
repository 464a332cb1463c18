// CRegistryKey: each value type read as text, the failures it passes on, and its open and
// closed states.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "LauncherHarness.h"
#include "RegistryKey.h"
#include "winsim_machine.h"

namespace {

const char kKey[] = "SOFTWARE\\Corvane\\Test";
const char kUnchanged[] = "(unchanged)";

// The test thread runs as the launcher's process, so the key class calls the simulated
// registry directly.
class RegistryKeyTest : public test::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        winsim::AddRegistryKey(HKEY_LOCAL_MACHINE, kKey);
        m_scope.reset(new winsim::World::ProcessScope(test::LauncherProcess()));
    }
    void TearDown() override {
        m_scope.reset();
        WorldTest::TearDown();
    }
    static long CloseCalls() {
        auto calls = winsim::World::Get().Calls();
        return std::count(calls.begin(), calls.end(), std::string("RegCloseKey"));
    }
    std::unique_ptr<winsim::World::ProcessScope> m_scope;
};

TEST_F(RegistryKeyTest, QueryValueReadsTextAndNumbersOnly) {
    const std::string kLong(4000, 'L');
    struct Row {
        const char* name;
        winsim::RegistryValue value;
        const char* expected;  // kUnchanged: the string is left as it was
        const char* why;
    } rows[] = {
        {"path", winsim::RegSz("C:\\Program Files"), "C:\\Program Files", "text"},
        {"empty", winsim::RegSz(""), "", "empty text"},
        {"nothing", {REG_SZ, ""}, "", "text of no bytes"},
        {"bare", {REG_SZ, "abc"}, "abc", "text without a terminator ends with its data"},
        {"inner", {REG_SZ, std::string("ab\0cd\0", 6)}, "ab", "text ends at its first NUL"},
        {"minus", winsim::RegDword(0xFFFFFFFF), "-1", "all bits set read as minus one"},
        {"lowest", winsim::RegDword(0x80000000), "-2147483648", "numbers are signed"},
        {"answer", winsim::RegDword(42), "42", "a small number"},
        {"raw", winsim::RegBinary("\x01\x02"), kUnchanged, "raw bytes are not text"},
        {"expand", {REG_EXPAND_SZ, std::string("%TEMP%\0", 7)}, kUnchanged, "only REG_SZ is read as text"},
        {"multi", {REG_MULTI_SZ, std::string("a\0b\0\0", 5)}, kUnchanged, "nor is a list of texts"},
        {"long", winsim::RegSz(kLong), kLong.c_str(), "the longest value of the key, read whole"},
    };
    for (const Row& row : rows) winsim::SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, row.name, row.value);
    CRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, kKey, KEY_QUERY_VALUE));
    for (const Row& row : rows) {
        CString strValue(kUnchanged);
        EXPECT_EQ(ERROR_SUCCESS, key.QueryValue(row.name, strValue)) << row.why;
        EXPECT_STREQ(row.expected, strValue) << row.why;
    }
}

TEST_F(RegistryKeyTest, QueryValuePassesFailuresOnAndLeavesTheString) {
    winsim::SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "value", winsim::RegSz("text"));
    struct Row {
        REGSAM access;
        bool removeKey;
        const char* name;
        LONG status;
        const char* why;
    } rows[] = {
        {KEY_QUERY_VALUE, false, "absent", ERROR_FILE_NOT_FOUND, "the value does not exist"},
        {KEY_SET_VALUE, false, "value", ERROR_ACCESS_DENIED, "the key was opened without query access"},
        {KEY_QUERY_VALUE, true, "value", ERROR_KEY_DELETED, "the key was deleted while open"},
    };
    for (const Row& row : rows) {
        CRegistryKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, kKey, row.access)) << row.why;
        if (row.removeKey) winsim::RemoveRegistryKey(HKEY_LOCAL_MACHINE, kKey);
        CString strValue(kUnchanged);
        EXPECT_EQ(row.status, key.QueryValue(row.name, strValue)) << row.why;
        EXPECT_STREQ(kUnchanged, strValue) << row.why;
    }
}

TEST_F(RegistryKeyTest, KeyThatIsNotOpenRefusesQueriesAndClosesNothing) {
    winsim::SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "value", winsim::RegSz("text"));
    winsim::AddRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Locked");
    winsim::RefuseRegistryAccess(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Locked", KEY_SET_VALUE);
    struct Row {
        const char* subKey;  // nullptr: never opened
        REGSAM access;
        LONG status;
        const char* why;
    } rows[] = {
        {nullptr, 0, ERROR_SUCCESS, "never opened"},
        {"SOFTWARE\\Corvane\\Absent", KEY_QUERY_VALUE, ERROR_FILE_NOT_FOUND, "the key does not exist"},
        {"SOFTWARE\\Corvane\\Locked", KEY_ALL_ACCESS, ERROR_ACCESS_DENIED, "the key refuses writing"},
    };
    for (const Row& row : rows) {
        long closesBefore = CloseCalls();
        {
            CRegistryKey key;
            if (row.subKey != nullptr) {
                EXPECT_EQ(row.status, key.Open(HKEY_LOCAL_MACHINE, row.subKey, row.access)) << row.why;
            }
            EXPECT_FALSE(key.m_bOpen) << row.why;
            EXPECT_TRUE(key.m_hKey == NULL) << row.why;
            CString strValue(kUnchanged);
            EXPECT_EQ(ERROR_INVALID_DATA, key.QueryValue("value", strValue)) << row.why;
            EXPECT_STREQ(kUnchanged, strValue) << row.why;
            key.Close();
        }
        EXPECT_EQ(closesBefore, CloseCalls()) << row.why;
    }
}

TEST_F(RegistryKeyTest, CloseReleasesTheKeyOnceAndAgainDoesNothing) {
    {
        CRegistryKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, kKey, KEY_QUERY_VALUE));
        EXPECT_TRUE(key.m_bOpen);
        EXPECT_TRUE(key.m_hKey != NULL);
        EXPECT_EQ(1u, winsim::OpenRegistryHandleCount());
        key.Close();
        EXPECT_FALSE(key.m_bOpen);
        EXPECT_TRUE(key.m_hKey == NULL);
        EXPECT_EQ(0u, winsim::OpenRegistryHandleCount());
        key.Close();
    }
    EXPECT_EQ(1, CloseCalls());  // neither the second Close nor the destructor closed again

    {
        CRegistryKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, kKey, KEY_QUERY_VALUE));
    }
    EXPECT_EQ(0u, winsim::OpenRegistryHandleCount());  // the destructor closes an open key
}

}  // namespace
