// The access token's group list as the Administrators test reads it, and the Administrators
// identifier it builds. The test process runs as an administrator on both platforms.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Platform.h"

namespace {

class SecurityTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &m_hToken)); }
    void TearDown() override {
        if (m_hToken != NULL) CloseHandle(m_hToken);
    }
    HANDLE m_hToken = NULL;
};

PSID BuildSid(DWORD rid0, DWORD rid1) {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID pSid = NULL;
    EXPECT_TRUE(AllocateAndInitializeSid(&nt, 2, rid0, rid1, 0, 0, 0, 0, 0, 0, &pSid));
    return pSid;
}

TEST_F(SecurityTest, TooSmallBufferReportsTheNeededLength) {
    DWORD cbNeeded = 0xdeadbeef;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(GetTokenInformation(m_hToken, TokenGroups, NULL, 0, &cbNeeded));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    ASSERT_GT(cbNeeded, static_cast<DWORD>(sizeof(TOKEN_GROUPS)));

    // One byte short: the same answer, and the same length.
    std::vector<BYTE> buffer(cbNeeded, 0xcc);
    DWORD cbShort = 0xdeadbeef;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(GetTokenInformation(m_hToken, TokenGroups, buffer.data(), cbNeeded - 1, &cbShort));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(cbNeeded, cbShort);

    // The length asked for holds the whole list; every group's SID lies inside the buffer.
    DWORD cbRead = 0;
    ASSERT_TRUE(GetTokenInformation(m_hToken, TokenGroups, buffer.data(), cbNeeded, &cbRead));
    EXPECT_EQ(cbNeeded, cbRead);
    const TOKEN_GROUPS* pGroups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    const SID_AND_ATTRIBUTES* pGroup = pGroups->Groups;
    ASSERT_GT(pGroups->GroupCount, 0u);
    for (DWORD i = 0; i < pGroups->GroupCount; ++i) {
        const BYTE* pSid = static_cast<const BYTE*>(pGroup[i].Sid);
        EXPECT_TRUE(pSid > buffer.data() && pSid + GetLengthSid(pGroup[i].Sid) <= buffer.data() + cbNeeded)
            << "group " << i;
    }
}

TEST_F(SecurityTest, TokenWithoutQueryAccessRefusesItsGroups) {
    HANDLE hAdjustOnly = NULL;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &hAdjustOnly));
    DWORD cbNeeded = 0;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(GetTokenInformation(hAdjustOnly, TokenGroups, NULL, 0, &cbNeeded));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    CloseHandle(hAdjustOnly);
}

TEST_F(SecurityTest, BuiltAdministratorsSidEqualsTheTokensAdministratorsGroup) {
    PSID pAdmins = BuildSid(SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
    PSID pAdminsAgain = BuildSid(SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
    PSID pUsers = BuildSid(SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS);
    ASSERT_TRUE(pAdmins != NULL && pAdminsAgain != NULL && pUsers != NULL);
    EXPECT_EQ(16u, GetLengthSid(pAdmins));  // S-1-5-32-544: 8 bytes of header, two sub-authorities
    const BYTE kBytes[16] = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};
    EXPECT_EQ(0, std::memcmp(kBytes, pAdmins, sizeof kBytes));
    EXPECT_EQ(TRUE, EqualSid(pAdmins, pAdminsAgain));
    EXPECT_EQ(FALSE, EqualSid(pAdmins, pUsers));

    DWORD cbNeeded = 0;
    GetTokenInformation(m_hToken, TokenGroups, NULL, 0, &cbNeeded);
    std::vector<BYTE> buffer(cbNeeded);
    ASSERT_TRUE(GetTokenInformation(m_hToken, TokenGroups, buffer.data(), cbNeeded, &cbNeeded));
    const TOKEN_GROUPS* pGroups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    const SID_AND_ATTRIBUTES* pGroup = pGroups->Groups;
    int nMatches = 0;
    for (DWORD i = 0; i < pGroups->GroupCount; ++i) {
        if (EqualSid(pAdmins, pGroup[i].Sid) == TRUE) ++nMatches;
    }
    EXPECT_EQ(1, nMatches);

    EXPECT_EQ(nullptr, FreeSid(pAdmins));
    EXPECT_EQ(nullptr, FreeSid(pAdminsAgain));
    EXPECT_EQ(nullptr, FreeSid(pUsers));
}

}  // namespace
