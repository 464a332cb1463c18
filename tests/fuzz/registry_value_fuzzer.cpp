// Fuzzes CRegistryKey::QueryValue over arbitrary value types and data: no read past the data,
// text without a NUL, huge and empty values; a success always leaves a string within the data.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "RegistryKey.h"
#include "winsim_machine.h"

namespace {
using fuzz::Check;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    fuzz::EnterLauncherProcess();
    const char kKey[] = "SOFTWARE\\Corvane\\Fuzz";
    winsim::RemoveRegistryKey(HKEY_CURRENT_USER, kKey);
    // The first byte chooses the type; the rest is the data. A second, longer value makes the
    // key's longest data differ from the one read.
    const DWORD types[] = {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, 0x1234};
    winsim::RegistryValue value{types[data[0] % 7], std::string(reinterpret_cast<const char*>(data + 1), size - 1)};
    winsim::SetRegistryValue(HKEY_CURRENT_USER, kKey, "V", value);
    if (data[0] & 0x80) winsim::SetRegistryValue(HKEY_CURRENT_USER, kKey, "Long", winsim::RegBinary(std::string(size * 2, 'x')));

    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, kKey, KEY_QUERY_VALUE) != 0) return 0;
    CString text("unchanged");
    LONG status = key.QueryValue("V", text);
    if (status == 0) {
        if (value.type == REG_SZ) {
            Check(static_cast<size_t>(text.GetLength()) <= value.data.size(), "text within the data");
            Check(value.data.compare(0, static_cast<size_t>(text.GetLength()), text) == 0, "text is the data's start");
        } else if (value.type == REG_DWORD && value.data.size() == 4) {
            long n = std::strtol(text, nullptr, 10);
            DWORD d;
            std::memcpy(&d, value.data.data(), 4);
            Check(static_cast<int32_t>(d) == n, "a number in signed decimal");
        } else if (value.type != REG_DWORD) {
            Check(text == "unchanged", "other types leave the string");
        }
    } else {
        Check(text == "unchanged", "a failure leaves the string");
    }
    key.Close();
    return 0;
}
