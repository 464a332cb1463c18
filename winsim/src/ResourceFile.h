// winsim::ResourceFile: reads a compiled 32-bit resource file (.res) and serves what the
// simulated resource calls need from it: raw data by type and name, string-table entries,
// decoded icons, dialog templates in both forms, and the version block. Standard C++ only.
#ifndef WINSIM_RESOURCE_FILE_H
#define WINSIM_RESOURCE_FILE_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace winsim {

// Resource type numbers (the RT_ ordinals) this reader understands.
enum ResourceType : uint16_t {
    kResIcon = 3,
    kResDialog = 5,
    kResString = 6,
    kResGroupIcon = 14,
    kResVersion = 16,
};

// A resource type or name, or the menu, class or text field of a dialog template: either a
// 16-bit ordinal or a string. Strings are kept as single bytes: UTF-16 units below 256 as
// they are, any other unit as '?'. The empty string stands for the template's 0x0000 form
// (no menu, the default dialog class, no text).
struct ResName {
    bool isOrdinal = false;
    uint16_t ordinal = 0;
    std::string name;

    static ResName Ordinal(uint16_t value);
    static ResName String(std::string text);

    bool IsEmpty() const { return !isOrdinal && name.empty(); }
};

// Exact comparison (strings case-sensitively). Resource lookup ignores case on its own.
bool operator==(const ResName& a, const ResName& b);
bool operator!=(const ResName& a, const ResName& b);

// One resource of the file. data points into the ResourceFile that produced the entry and
// stays valid while that object lives and is not parsed again.
struct ResourceEntry {
    ResName type;
    ResName name;
    uint16_t language = 0;
    uint16_t memoryFlags = 0;
    const unsigned char* data = nullptr;
    size_t size = 0;
};

// A decoded icon image, rows top first. pixels are COLORREF values (0x00BBGGRR);
// transparent[i] is the AND mask bit of pixel i (the pixel leaves the background as it is).
struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    std::vector<bool> transparent;
};

// One control of a dialog template.
struct DialogItem {
    uint32_t id = 0;  // 16 bits in the classic form: "no id" (-1) reads 0xFFFF there
    uint32_t style = 0;
    uint32_t exStyle = 0;
    uint32_t helpId = 0;  // extended form only
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    ResName windowClass;  // ordinal 0x80..0x85 (see PredefinedClassName) or a class name
    ResName title;        // text, or an ordinal naming a resource (an icon for SS_ICON)
    std::vector<uint8_t> creationData;
};

// A dialog template: DLGTEMPLATE (classic) or DLGTEMPLATEEX (extended) with its controls.
struct DialogTemplate {
    bool extended = false;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    uint32_t helpId = 0;  // extended form only
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    ResName menu;
    ResName windowClass;
    std::string title;
    // Present only with DS_SETFONT; weight, italic and charset only in the extended form.
    uint16_t pointSize = 0;
    uint16_t weight = 0;
    uint8_t italic = 0;
    uint8_t charset = 0;
    std::string typeface;
    std::vector<DialogItem> items;
};

// The version block: VS_FIXEDFILEINFO and the values of the string and translation blocks.
struct VersionInfo {
    uint32_t fileVersionMS = 0, fileVersionLS = 0;
    uint32_t productVersionMS = 0, productVersionLS = 0;
    uint32_t fileFlagsMask = 0, fileFlags = 0, fileOS = 0, fileType = 0, fileSubtype = 0;
    // Keyed by string block and value name, as in a version query path without the
    // "\StringFileInfo\" prefix: "040904B0\FileDescription".
    std::map<std::string, std::string> strings;
    // The "Translation" values as stored: language in the low word, code page in the high word.
    std::vector<uint32_t> translations;
};

class ResourceFile {
public:
    ResourceFile() = default;
    // Entries point into the object's own copy of the bytes: moving keeps them valid,
    // copying would not.
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;
    ResourceFile(ResourceFile&&) = default;
    ResourceFile& operator=(ResourceFile&&) = default;

    // Reads a whole .res file, copying the bytes. Returns false, and holds no resources, when
    // the bytes are not one: the leading empty header missing, a header or its data running
    // past the end, a name without its terminator. Never reads outside [data, data + size).
    bool Parse(const unsigned char* data, size_t size);

    const std::vector<ResourceEntry>& Entries() const { return m_entries; }

    // The first resource of that type and name in any language; nullptr when there is none.
    // String names compare without regard to ASCII case, as the system upper-cases them.
    const ResourceEntry* Find(const ResName& type, const ResName& name) const;

    // String id from its string-table block (id / 16 + 1, entry id % 16), as single bytes.
    // False, out untouched, when the id has no string (absent block or zero length).
    // Defined here so that it still links in a translation unit where a Win32 header has
    // turned the name LoadString into a macro.
    bool LoadString(unsigned id, std::string& out) const { return ReadString(id, out); }

    // The 32 x 32 image of an icon group (the deepest one if the group has several).
    // False, out untouched, when the group, a 32 x 32 entry or its image is missing or bad.
    // Inline for the same reason as LoadString.
    bool LoadIcon(const ResName& group, IconImage& out) const { return ReadIcon(group, out); }

    // A dialog template by number or name. False, out untouched, when absent or malformed.
    bool LoadDialog(const ResName& name, DialogTemplate& out) const;

    // The first version block. False, out untouched, when absent or malformed.
    bool LoadVersionInfo(VersionInfo& out) const;

private:
    bool ReadString(unsigned id, std::string& out) const;
    bool ReadIcon(const ResName& group, IconImage& out) const;

    std::vector<unsigned char> m_bytes;
    std::vector<ResourceEntry> m_entries;
};

// Decoders for a single resource's data, used by ResourceFile and usable on their own
// (templates and icon images built in memory). Each writes out only on success and never
// reads outside [data, data + size).

// A dialog template in either form; the extended form is recognised by version 1 and
// signature 0xFFFF in its first two words.
bool ParseDialogTemplate(const unsigned char* data, size_t size, DialogTemplate& out);

// An icon image (RT_ICON data): BITMAPINFOHEADER with the doubled height, palette, colour
// bits bottom-up and the AND mask. 1, 4, 8, 24 and 32 bits per pixel, uncompressed.
bool DecodeIconImage(const unsigned char* data, size_t size, IconImage& out);

// A version block (RT_VERSION data).
bool ParseVersionInfo(const unsigned char* data, size_t size, VersionInfo& out);

// The class name of a predefined control class ordinal ("Button" for 0x80 up to "ComboBox"
// for 0x85); nullptr for any other ordinal.
const char* PredefinedClassName(uint16_t ordinal);

// True when a template's class field names className (ASCII case ignored), whether it is
// written as a predefined ordinal or as a string: "BUTTON" and 0x80 both name "Button".
bool IsWindowClass(const ResName& windowClass, const std::string& className);

}  // namespace winsim

#endif  // WINSIM_RESOURCE_FILE_H
