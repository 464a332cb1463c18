// Fuzzes the setup script as arbitrary file bytes: winsim's profile reading and the script
// reader must not crash, must keep every value within the rules, and never hand back more than
// the buffer's size minus one characters.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "SetupScript.h"

namespace {
using fuzz::Check;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::EnterLauncherProcess();
    winsim::World::Get().AddFile("C:\\MEDIA\\Script.TXT", std::string(reinterpret_cast<const char*>(data), size));

    static const char* const kQueries[][2] = {
        {"Setup", "User Interface"}, {"Setup", "Uninstall"}, {"Setup", "SMS"}, {"setup", "sms"}, {"A", "B"},
    };
    for (const auto& q : kQueries) {
        for (DWORD cap : {1u, 2u, 16u, 260u}) {
            char buffer[300];
            std::memset(buffer, 0xcc, sizeof buffer);
            DWORD n = GetPrivateProfileStringA(q[0], q[1], "dflt  ", buffer, cap, "C:\\MEDIA\\Script.TXT");
            Check(n <= cap - 1, "at most size - 1 characters");
            Check(buffer[n] == '\0', "terminated right after what was returned");
            Check(static_cast<unsigned char>(buffer[cap]) == 0xcc, "nothing written past the buffer");
        }
    }
    CSetupScript script("", "");
    Check(script.m_nUserInterface == UI_VISIBLE || script.m_nUserInterface == UI_HIDDEN, "user interface is a table value");
    for (const char* key : {"Uninstall", "SMS"}) {
        int v = script.ReadBool("Setup", key, 42);
        Check(v == 0 || v == 1 || v == 42, "a boolean read gives 0, 1 or the default");
    }
    return 0;
}
