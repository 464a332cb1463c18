// Fuzzes the reading of compiled resources: arbitrary bytes as a .res file, and arbitrary bytes
// as one dialog template, icon image or version block. Nothing may read outside the input.
#include <cstdint>
#include <string>
#include <vector>

#include "ResourceFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Copies, so that ASan sees any read past the end.
    std::vector<uint8_t> bytes(data, data + size);
    winsim::ResourceFile file;
    if (file.Parse(bytes.data(), bytes.size())) {
        std::string text;
        for (unsigned id = 0; id < 40; ++id) file.LoadString(id, text);
        for (const winsim::ResourceEntry& e : file.Entries()) {
            winsim::DialogTemplate t;
            winsim::IconImage icon;
            if (e.type == winsim::ResName::Ordinal(winsim::kResDialog)) file.LoadDialog(e.name, t);
            if (e.type == winsim::ResName::Ordinal(winsim::kResGroupIcon)) file.LoadIcon(e.name, icon);
        }
        winsim::VersionInfo version;
        file.LoadVersionInfo(version);
    }
    winsim::DialogTemplate t;
    winsim::ParseDialogTemplate(bytes.data(), bytes.size(), t);
    winsim::IconImage icon;
    winsim::DecodeIconImage(bytes.data(), bytes.size(), icon);
    winsim::VersionInfo version;
    winsim::ParseVersionInfo(bytes.data(), bytes.size(), version);
    return 0;
}
