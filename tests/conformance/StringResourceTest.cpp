// The string table as LoadStringA serves it from the launcher's own module.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Platform.h"
#include "resource.h"

namespace {

struct StringRow {
    UINT id;
    const char* text;
};

const StringRow kStrings[] = {
    {IDS_INSTALLER_NOT_FOUND,
     "Can't find Lunastra's Corvane installation program.\nWould you like to locate it manually?"},
    {IDS_SETUP_TITLE, "Corvane Setup"},
    {IDS_WINDOWS_UNSUPPORTED,
     "This version of Windows is not supported by Corvane.  Please restart the computer and run "
     "Windows 95 or Windows NT v4.0."},
    {IDS_ADMIN_REQUIRED,
     "You must be logged on as an administrator to add or remove Corvane services in Windows NT."},
    {IDS_SETUP_TITLE_RUNNING, "Corvane Setup"},
    {IDS_SETUP_RUNNING, "There is already a version of Setup running."},
    {IDS_RESTART_REQUIRED,
     "You must restart your computer before running Setup.  Do you want to restart now?"},
    {IDS_SETUP_TITLE_RESTART, "Corvane Setup"},
    {IDS_SERVICES_TITLE, "Corvane Services"},
    {IDS_LAUNCH_FAILED,
     "Corvane setup was unable to launch InstallShield. Please ensure the directory you are "
     "running from is not a long file name on a Netware server. If you are unsure, please "
     "contact your administrator."},
    {IDS_ERROR_TITLE, "Error"},
};

TEST(StringResources, EachStringLoadsExactlyWithItsLength) {
    for (const StringRow& row : kStrings) {
        char buffer[512];
        std::memset(buffer, 0xcc, sizeof buffer);
        int n = LoadStringA(GetModuleHandleA(NULL), row.id, buffer, sizeof buffer);
        EXPECT_EQ(static_cast<int>(std::strlen(row.text)), n) << "string " << row.id;
        EXPECT_STREQ(row.text, buffer) << "string " << row.id;
    }
}

TEST(StringResources, AbsentNumbersLoadNothing) {
    for (UINT id : {0u, 10u, 13u, 100u}) {
        char buffer[16] = "sentinel";
        EXPECT_EQ(0, LoadStringA(GetModuleHandleA(NULL), id, buffer, sizeof buffer)) << "string " << id;
    }
}

TEST(StringResources, ShortBufferCutsAndTerminates) {
    char buffer[8];
    std::memset(buffer, 0xcc, sizeof buffer);
    EXPECT_EQ(7, LoadStringA(GetModuleHandleA(NULL), IDS_SETUP_TITLE, buffer, sizeof buffer));
    EXPECT_STREQ("Corvane", buffer);
}

}  // namespace
