// The registry as the launcher's key class reads it: the longest data length a key reports,
// and each value type as RegQueryValueExA hands it over. Values are written into a private key
// under HKEY_CURRENT_USER, removed again after each test.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Platform.h"

namespace {

const char kTestsKey[] = "Software\\CorvaneSetupTests";
const char kValuesKey[] = "Software\\CorvaneSetupTests\\Values";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveKeys();
        DWORD dwDisposition = 0;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kValuesKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                                                 KEY_ALL_ACCESS, NULL, &m_hKey, &dwDisposition));
        EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), dwDisposition);
    }
    void TearDown() override {
        if (m_hKey != NULL) RegCloseKey(m_hKey);
        RemoveKeys();
    }
    static void RemoveKeys() {
        RegDeleteKeyA(HKEY_CURRENT_USER, kValuesKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestsKey);
    }
    // Writes exactly the bytes of data. The byte after them is not a NUL: the system takes a
    // NUL that directly follows text as its terminator even when the length leaves it out.
    void Set(const char* name, DWORD type, const std::string& data) {
        std::string stored = data + "X";
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(m_hKey, name, 0, type, reinterpret_cast<const BYTE*>(stored.data()),
                                                static_cast<DWORD>(data.size())))
            << name;
    }
    DWORD LongestData() {
        DWORD cbMaxData = 0xdeadbeef;
        EXPECT_EQ(ERROR_SUCCESS,
                  RegQueryInfoKeyA(m_hKey, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, &cbMaxData, NULL, NULL));
        return cbMaxData;
    }
    HKEY m_hKey = NULL;
};

std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

TEST_F(RegistryTest, LongestDataLengthCoversEveryValueStoredTextAsWideCharacters) {
    EXPECT_EQ(0u, LongestData());  // an empty key
    Set("number", REG_DWORD, Dword(7));
    EXPECT_EQ(4u, LongestData());
    Set("bytes", REG_BINARY, std::string(10, 'b'));
    EXPECT_EQ(10u, LongestData());
    // Text is kept as UTF-16: its stored length is twice what the ANSI call hands over, so
    // a buffer of the reported length always holds it.
    Set("text", REG_SZ, std::string("abcdefgh", 9));
    EXPECT_EQ(18u, LongestData());
    Set("bytes", REG_BINARY, std::string(30, 'b'));
    EXPECT_EQ(30u, LongestData());
}

TEST_F(RegistryTest, QueryValueHandsOverTypeAndDataOfEachType) {
    struct Row {
        const char* name;
        DWORD type;
        std::string data;
        const char* why;
    } rows[] = {
        {"text", REG_SZ, std::string("C:\\x", 5), "text with its terminator"},
        {"empty", REG_SZ, std::string(1, '\0'), "empty text: the terminator alone"},
        {"bare", REG_SZ, std::string("abc"), "text stored without a terminator"},
        {"nothing", REG_SZ, std::string(), "text of no bytes at all"},
        {"inner", REG_SZ, std::string("ab\0cd", 6), "text with a NUL inside"},
        {"allbits", REG_DWORD, Dword(0xFFFFFFFF), "a number with all bits set"},
        {"raw", REG_BINARY, std::string("\x00\x01\xfe\xff", 4), "raw bytes"},
    };
    for (const Row& row : rows) Set(row.name, row.type, row.data);
    for (const Row& row : rows) {
        BYTE buffer[64];
        std::memset(buffer, 0xcc, sizeof buffer);
        DWORD dwType = 0xdeadbeef;
        DWORD cbData = sizeof buffer;
        ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(m_hKey, row.name, NULL, &dwType, buffer, &cbData)) << row.why;
        EXPECT_EQ(row.type, dwType) << row.why;
        ASSERT_EQ(row.data.size(), cbData) << row.why;
        EXPECT_EQ(row.data, std::string(reinterpret_cast<const char*>(buffer), cbData)) << row.why;
        // Text without a terminator gets one where there is room, not counted in the length;
        // other data, and text of no bytes, leave the rest of the buffer alone.
        bool unterminated = !row.data.empty() && row.data.back() != '\0';
        BYTE after = row.type == REG_SZ && unterminated ? 0 : 0xcc;
        EXPECT_EQ(after, buffer[cbData]) << row.why;
    }
}

TEST_F(RegistryTest, QueryValueFailures) {
    Set("text", REG_SZ, std::string("abcdef", 7));
    BYTE buffer[4];
    DWORD cbData = sizeof buffer;
    DWORD dwType = 0;
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(m_hKey, "text", NULL, &dwType, buffer, &cbData));
    EXPECT_EQ(7u, cbData);  // the length needed

    cbData = sizeof buffer;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(m_hKey, "absent", NULL, &dwType, buffer, &cbData));

    // A value cannot be read through a handle without query access.
    HKEY hWriteOnly = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kValuesKey, 0, KEY_SET_VALUE, &hWriteOnly));
    cbData = sizeof buffer;
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExA(hWriteOnly, "text", NULL, &dwType, buffer, &cbData));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(hWriteOnly));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(hWriteOnly));  // closed already
}

TEST_F(RegistryTest, HandleOfADeletedKeyReportsItDeleted) {
    Set("text", REG_SZ, std::string("abc", 4));
    RegCloseKey(m_hKey);
    m_hKey = NULL;
    HKEY hKey = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kValuesKey, 0, KEY_QUERY_VALUE, &hKey));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, kValuesKey));
    DWORD cbMaxData = 0;
    EXPECT_EQ(ERROR_KEY_DELETED,
              RegQueryInfoKeyA(hKey, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, &cbMaxData, NULL, NULL));
    BYTE buffer[8];
    DWORD cbData = sizeof buffer;
    EXPECT_EQ(ERROR_KEY_DELETED, RegQueryValueExA(hKey, "text", NULL, NULL, buffer, &cbData));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(hKey));
}

TEST_F(RegistryTest, OpeningAMissingKeyFailsAndClearsTheHandle) {
    HKEY hKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0xdeadbee0));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\CorvaneSetupTests\\Absent", 0, KEY_QUERY_VALUE, &hKey));
    EXPECT_EQ(nullptr, hKey);
}

}  // namespace
