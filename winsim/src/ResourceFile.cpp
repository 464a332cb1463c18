// winsim::ResourceFile: parsing of .res files and of the string, icon, dialog and version
// resources inside them. Every read goes through ByteReader, which checks the bounds first.
#include "ResourceFile.h"

#include <algorithm>
#include <utility>

namespace winsim {

namespace {

// Little-endian reads over [0, size) of one buffer. pos is an offset from the buffer's start,
// which is also the origin for DWORD alignment (the start of the file, of the template, of
// the version block). A failed read leaves pos where it was.
class ByteReader {
public:
    ByteReader(const unsigned char* data, size_t size, size_t pos = 0)
        : m_data(data), m_size(size), m_pos(pos <= size ? pos : size) {}

    size_t Pos() const { return m_pos; }
    size_t Remaining() const { return m_size - m_pos; }

    bool Skip(size_t count) {
        if (count > Remaining()) return false;
        m_pos += count;
        return true;
    }

    // Moves to the next multiple of 4; fine if that is exactly the end.
    bool AlignDword() { return Skip((4 - m_pos % 4) % 4); }

    bool U8(uint8_t& value) {
        if (Remaining() < 1) return false;
        value = m_data[m_pos++];
        return true;
    }

    bool U16(uint16_t& value) {
        if (Remaining() < 2) return false;
        value = static_cast<uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }

    bool I16(int16_t& value) {
        uint16_t raw = 0;
        if (!U16(raw)) return false;
        value = static_cast<int16_t>(raw);
        return true;
    }

    bool U32(uint32_t& value) {
        if (Remaining() < 4) return false;
        value = static_cast<uint32_t>(m_data[m_pos]) |
                static_cast<uint32_t>(m_data[m_pos + 1]) << 8 |
                static_cast<uint32_t>(m_data[m_pos + 2]) << 16 |
                static_cast<uint32_t>(m_data[m_pos + 3]) << 24;
        m_pos += 4;
        return true;
    }

    bool I32(int32_t& value) {
        uint32_t raw = 0;
        if (!U32(raw)) return false;
        value = static_cast<int32_t>(raw);
        return true;
    }

    bool Bytes(size_t count, std::vector<uint8_t>& out) {
        if (count > Remaining()) return false;
        out.assign(m_data + m_pos, m_data + m_pos + count);
        m_pos += count;
        return true;
    }

    // A NUL-terminated UTF-16 string, narrowed. False when the terminator is missing.
    bool String(std::string& out) {
        const size_t start = m_pos;
        std::string text;
        for (;;) {
            uint16_t unit = 0;
            if (!U16(unit)) {
                m_pos = start;
                return false;
            }
            if (unit == 0) break;
            text.push_back(Narrow(unit));
        }
        out = std::move(text);
        return true;
    }

    // A resource header's type or name: 0xFFFF and an ordinal, or a string.
    // Also a dialog template's menu, class and item title: there 0x0000 is the empty string.
    bool NameOrOrdinal(ResName& out) {
        const size_t start = m_pos;
        uint16_t first = 0;
        if (!U16(first)) return false;
        if (first == 0xFFFF) {
            uint16_t ordinal = 0;
            if (!U16(ordinal)) {
                m_pos = start;
                return false;
            }
            out = ResName::Ordinal(ordinal);
            return true;
        }
        m_pos = start;
        std::string text;
        if (!String(text)) return false;
        out = ResName::String(std::move(text));
        return true;
    }

    static char Narrow(uint16_t unit) { return unit < 256 ? static_cast<char>(unit) : '?'; }

private:
    const unsigned char* m_data;
    size_t m_size;
    size_t m_pos;
};

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    }
    return true;
}

bool SameResourceName(const ResName& a, const ResName& b) {
    if (a.isOrdinal != b.isOrdinal) return false;
    return a.isOrdinal ? a.ordinal == b.ordinal : EqualNoCase(a.name, b.name);
}

constexpr uint32_t kDsSetFont = 0x40;  // DS_SETFONT: the template carries a font block

// ---- dialog templates ----

bool ParseDialogItem(ByteReader& in, bool extended, DialogItem& item) {
    if (!in.AlignDword()) return false;
    if (extended) {
        if (!in.U32(item.helpId) || !in.U32(item.exStyle) || !in.U32(item.style)) return false;
    } else {
        if (!in.U32(item.style) || !in.U32(item.exStyle)) return false;
    }
    if (!in.I16(item.x) || !in.I16(item.y) || !in.I16(item.cx) || !in.I16(item.cy)) return false;
    if (extended) {
        if (!in.U32(item.id)) return false;
    } else {
        uint16_t id = 0;
        if (!in.U16(id)) return false;
        item.id = id;
    }
    if (!in.NameOrOrdinal(item.windowClass) || !in.NameOrOrdinal(item.title)) return false;
    // A word counting the creation bytes that follow it (read the same way in both forms).
    uint16_t extra = 0;
    return in.U16(extra) && in.Bytes(extra, item.creationData);
}

// ---- icons ----

struct GroupIconEntry {
    uint8_t width = 0, height = 0;
    uint16_t bitCount = 0;
    uint16_t id = 0;
};

bool ParseGroupIcon(const unsigned char* data, size_t size, std::vector<GroupIconEntry>& out) {
    ByteReader in(data, size);
    uint16_t reserved = 0, type = 0, count = 0;
    if (!in.U16(reserved) || !in.U16(type) || !in.U16(count)) return false;
    if (reserved != 0 || type != 1) return false;  // 1: icons (2 would be cursors)
    std::vector<GroupIconEntry> entries;
    for (uint16_t i = 0; i < count; ++i) {
        GroupIconEntry entry;
        uint8_t colours = 0, reservedByte = 0;
        uint16_t planes = 0;
        uint32_t bytes = 0;
        if (!in.U8(entry.width) || !in.U8(entry.height) || !in.U8(colours) ||
            !in.U8(reservedByte) || !in.U16(planes) || !in.U16(entry.bitCount) ||
            !in.U32(bytes) || !in.U16(entry.id)) {
            return false;
        }
        entries.push_back(entry);
    }
    out = std::move(entries);
    return true;
}

// ---- version block ----

// One node of the version block: wLength, wValueLength, wType, key, value, children.
// Offsets are from the start of the block, the origin of its DWORD alignment.
struct VersionNode {
    std::string key;
    uint16_t valueLength = 0;
    uint16_t type = 0;  // 1: text value, 0: binary value
    size_t valueBegin = 0;
    size_t childrenBegin = 0;
    size_t end = 0;
};

bool ReadVersionNode(const unsigned char* data, size_t limit, size_t pos, VersionNode& node) {
    ByteReader in(data, limit, pos);
    uint16_t length = 0;
    if (!in.U16(length) || !in.U16(node.valueLength) || !in.U16(node.type)) return false;
    if (length < 6 || length > limit - pos) return false;
    node.end = pos + length;
    ByteReader header(data, node.end, in.Pos());
    if (!header.String(node.key) || !header.AlignDword()) return false;
    node.valueBegin = header.Pos();
    size_t valueEnd = node.valueBegin;
    if (node.type == 1) {
        // Text: the length counts UTF-16 units, with or without the terminator depending on
        // the compiler that wrote it, so the text ends at its terminator or at the length,
        // whichever is later, and never past the node.
        valueEnd += std::min(size_t{node.valueLength} * 2, node.end - node.valueBegin);
        ByteReader text(data, node.end, node.valueBegin);
        std::string ignored;
        if (node.valueLength > 0 && text.String(ignored)) valueEnd = std::max(valueEnd, text.Pos());
    } else {
        if (node.valueLength > node.end - node.valueBegin) return false;
        valueEnd += node.valueLength;
    }
    node.childrenBegin = std::min(valueEnd + (4 - valueEnd % 4) % 4, node.end);
    return true;
}

// Calls visit(node) for each child in [begin, end); false when one is malformed.
template <typename Visit>
bool ForEachVersionChild(const unsigned char* data, size_t begin, size_t end, Visit visit) {
    size_t pos = begin;
    while (pos < end) {
        VersionNode child;
        if (!ReadVersionNode(data, end, pos, child)) return false;
        if (!visit(child)) return false;
        pos = child.end + (4 - child.end % 4) % 4;
    }
    return true;
}

// The text value of a String node, up to its terminator or the end of the node.
std::string VersionText(const unsigned char* data, const VersionNode& node) {
    std::string text;
    if (node.valueLength == 0) return text;
    ByteReader in(data, node.end, node.valueBegin);
    uint16_t unit = 0;
    while (in.U16(unit) && unit != 0) text.push_back(ByteReader::Narrow(unit));
    return text;
}

constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
constexpr size_t kFixedFileInfoSize = 52;

}  // namespace

// ---- ResName ----

ResName ResName::Ordinal(uint16_t value) {
    ResName name;
    name.isOrdinal = true;
    name.ordinal = value;
    return name;
}

ResName ResName::String(std::string text) {
    ResName name;
    name.name = std::move(text);
    return name;
}

bool operator==(const ResName& a, const ResName& b) {
    if (a.isOrdinal != b.isOrdinal) return false;
    return a.isOrdinal ? a.ordinal == b.ordinal : a.name == b.name;
}

bool operator!=(const ResName& a, const ResName& b) { return !(a == b); }

// ---- ResourceFile ----

bool ResourceFile::Parse(const unsigned char* data, size_t size) {
    m_bytes.clear();
    m_entries.clear();
    if (data == nullptr || size == 0) return false;

    std::vector<unsigned char> bytes(data, data + size);
    std::vector<ResourceEntry> entries;
    // Offsets only: the entries' data pointers are set once the bytes have their final home.
    std::vector<size_t> dataOffsets;
    bool sawLeadingHeader = false;
    size_t pos = 0;
    while (pos < size) {
        ByteReader in(bytes.data(), size, pos);
        uint32_t dataSize = 0, headerSize = 0;
        if (!in.U32(dataSize) || !in.U32(headerSize)) return false;
        if (headerSize > size - pos) return false;
        // The header's own fields must lie inside headerSize.
        ByteReader header(bytes.data(), pos + headerSize, in.Pos());
        ResourceEntry entry;
        uint32_t dataVersion = 0, version = 0, characteristics = 0;
        if (!header.NameOrOrdinal(entry.type) || !header.NameOrOrdinal(entry.name) ||
            !header.AlignDword() || !header.U32(dataVersion) || !header.U16(entry.memoryFlags) ||
            !header.U16(entry.language) || !header.U32(version) || !header.U32(characteristics)) {
            return false;
        }
        const size_t dataOffset = pos + headerSize;
        if (dataSize > size - dataOffset) return false;
        entry.size = dataSize;

        const bool emptyHeader = dataSize == 0 && entry.type == ResName::Ordinal(0) &&
                                 entry.name == ResName::Ordinal(0);
        if (!sawLeadingHeader) {
            // A 32-bit .res file opens with an empty entry (type 0, name 0, no data); a
            // 16-bit one or anything else does not.
            if (!emptyHeader || headerSize != 32) return false;
            sawLeadingHeader = true;
        } else if (!emptyHeader) {
            entries.push_back(std::move(entry));
            dataOffsets.push_back(dataOffset);
        }
        pos = dataOffset + dataSize;
        pos += (4 - pos % 4) % 4;  // the next header starts on a DWORD boundary
    }

    m_bytes = std::move(bytes);
    for (size_t i = 0; i < entries.size(); ++i) entries[i].data = m_bytes.data() + dataOffsets[i];
    m_entries = std::move(entries);
    return true;
}

const ResourceEntry* ResourceFile::Find(const ResName& type, const ResName& name) const {
    for (const ResourceEntry& entry : m_entries) {
        if (SameResourceName(entry.type, type) && SameResourceName(entry.name, name)) return &entry;
    }
    return nullptr;
}

bool ResourceFile::ReadString(unsigned id, std::string& out) const {
    const unsigned block = id / 16 + 1;
    if (block > 0xFFFF) return false;
    const ResourceEntry* entry =
        Find(ResName::Ordinal(kResString), ResName::Ordinal(static_cast<uint16_t>(block)));
    if (entry == nullptr) return false;
    // A block holds 16 counted strings in order; skip to ours.
    ByteReader in(entry->data, entry->size);
    uint16_t length = 0;
    for (unsigned index = 0; index < id % 16; ++index) {
        if (!in.U16(length) || !in.Skip(size_t{length} * 2)) return false;
    }
    if (!in.U16(length) || length == 0 || size_t{length} * 2 > in.Remaining()) return false;
    std::string text;
    text.reserve(length);
    for (uint16_t i = 0; i < length; ++i) {
        uint16_t unit = 0;
        in.U16(unit);
        text.push_back(ByteReader::Narrow(unit));
    }
    out = std::move(text);
    return true;
}

bool ResourceFile::ReadIcon(const ResName& group, IconImage& out) const {
    const ResourceEntry* groupEntry = Find(ResName::Ordinal(kResGroupIcon), group);
    if (groupEntry == nullptr) return false;
    std::vector<GroupIconEntry> entries;
    if (!ParseGroupIcon(groupEntry->data, groupEntry->size, entries)) return false;
    const GroupIconEntry* best = nullptr;
    for (const GroupIconEntry& entry : entries) {
        if (entry.width == 32 && entry.height == 32 &&
            (best == nullptr || entry.bitCount > best->bitCount)) {
            best = &entry;
        }
    }
    if (best == nullptr) return false;
    const ResourceEntry* image = Find(ResName::Ordinal(kResIcon), ResName::Ordinal(best->id));
    if (image == nullptr) return false;
    return DecodeIconImage(image->data, image->size, out);
}

bool ResourceFile::LoadDialog(const ResName& name, DialogTemplate& out) const {
    const ResourceEntry* entry = Find(ResName::Ordinal(kResDialog), name);
    return entry != nullptr && ParseDialogTemplate(entry->data, entry->size, out);
}

bool ResourceFile::LoadVersionInfo(VersionInfo& out) const {
    for (const ResourceEntry& entry : m_entries) {
        if (entry.type == ResName::Ordinal(kResVersion)) {
            return ParseVersionInfo(entry.data, entry.size, out);
        }
    }
    return false;
}

// ---- decoders ----

bool ParseDialogTemplate(const unsigned char* data, size_t size, DialogTemplate& out) {
    if (data == nullptr) return false;
    ByteReader in(data, size);
    DialogTemplate dlg;
    uint16_t version = 0, signature = 0;
    if (!in.U16(version) || !in.U16(signature)) return false;
    dlg.extended = version == 1 && signature == 0xFFFF;
    uint16_t count = 0;
    if (dlg.extended) {
        if (!in.U32(dlg.helpId) || !in.U32(dlg.exStyle) || !in.U32(dlg.style)) return false;
    } else {
        // Those two words were the low and high halves of the style.
        dlg.style = static_cast<uint32_t>(version) | static_cast<uint32_t>(signature) << 16;
        if (!in.U32(dlg.exStyle)) return false;
    }
    if (!in.U16(count) || !in.I16(dlg.x) || !in.I16(dlg.y) || !in.I16(dlg.cx) || !in.I16(dlg.cy)) {
        return false;
    }
    if (!in.NameOrOrdinal(dlg.menu) || !in.NameOrOrdinal(dlg.windowClass) ||
        !in.String(dlg.title)) {
        return false;
    }
    if (dlg.style & kDsSetFont) {
        if (!in.U16(dlg.pointSize)) return false;
        if (dlg.extended &&
            (!in.U16(dlg.weight) || !in.U8(dlg.italic) || !in.U8(dlg.charset))) {
            return false;
        }
        if (!in.String(dlg.typeface)) return false;
    }
    // Each item takes at least 18 bytes: a count beyond what is left is a lie, and
    // checking it first keeps a forged count from reserving memory.
    if (count > in.Remaining() / 18) return false;
    dlg.items.resize(count);
    for (DialogItem& item : dlg.items) {
        if (!ParseDialogItem(in, dlg.extended, item)) return false;
    }
    out = std::move(dlg);
    return true;
}

bool DecodeIconImage(const unsigned char* data, size_t size, IconImage& out) {
    if (data == nullptr) return false;
    ByteReader in(data, size);
    uint32_t headerSize = 0, compression = 0, sizeImage = 0, colorsUsed = 0, colorsImportant = 0;
    int32_t width = 0, doubledHeight = 0, xPerMeter = 0, yPerMeter = 0;
    uint16_t planes = 0, bitCount = 0;
    if (!in.U32(headerSize) || !in.I32(width) || !in.I32(doubledHeight) || !in.U16(planes) ||
        !in.U16(bitCount) || !in.U32(compression) || !in.U32(sizeImage) || !in.I32(xPerMeter) ||
        !in.I32(yPerMeter) || !in.U32(colorsUsed) || !in.U32(colorsImportant)) {
        return false;
    }
    // The height counts the colour bits and the mask; icons are at most 256 pixels a side.
    if (headerSize < 40 || planes != 1 || compression != 0) return false;
    if (width < 1 || width > 256 || doubledHeight < 2 || doubledHeight > 512 ||
        doubledHeight % 2 != 0) {
        return false;
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) {
        return false;
    }
    const int height = doubledHeight / 2;

    // Palette, as blue-green-red-reserved quads right after the header.
    ByteReader paletteIn(data, size, 0);
    if (!paletteIn.Skip(headerSize)) return false;
    std::vector<uint32_t> palette;
    if (bitCount <= 8) {
        const uint32_t maxColors = 1u << bitCount;
        const uint32_t colors = colorsUsed == 0 ? maxColors : colorsUsed;
        if (colors > maxColors) return false;
        for (uint32_t i = 0; i < colors; ++i) {
            uint8_t b = 0, g = 0, r = 0, reserved = 0;
            if (!paletteIn.U8(b) || !paletteIn.U8(g) || !paletteIn.U8(r) || !paletteIn.U8(reserved)) {
                return false;
            }
            palette.push_back(static_cast<uint32_t>(r) | static_cast<uint32_t>(g) << 8 |
                              static_cast<uint32_t>(b) << 16);
        }
    }

    // Rows are padded to whole DWORDs and stored bottom row first; the mask follows the colours.
    const size_t colourStride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    const size_t maskStride = (static_cast<size_t>(width) + 31) / 32 * 4;
    const size_t colourBegin = paletteIn.Pos();
    const size_t rows = static_cast<size_t>(height);
    if (colourStride * rows > size - colourBegin) return false;
    const size_t maskBegin = colourBegin + colourStride * rows;
    if (maskStride * rows > size - maskBegin) return false;

    IconImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * rows);
    image.transparent.resize(image.pixels.size());
    for (size_t y = 0; y < rows; ++y) {
        const unsigned char* colourRow = data + colourBegin + (rows - 1 - y) * colourStride;
        const unsigned char* maskRow = data + maskBegin + (rows - 1 - y) * maskStride;
        for (size_t x = 0; x < static_cast<size_t>(width); ++x) {
            uint32_t colour = 0;
            if (bitCount <= 8) {
                const size_t bit = x * bitCount;
                const unsigned shift = static_cast<unsigned>(8 - bitCount - bit % 8);
                const uint32_t index = (colourRow[bit / 8] >> shift) & ((1u << bitCount) - 1);
                if (index >= palette.size()) return false;
                colour = palette[index];
            } else {
                const unsigned char* p = colourRow + x * (bitCount / 8);
                colour = static_cast<uint32_t>(p[2]) | static_cast<uint32_t>(p[1]) << 8 |
                         static_cast<uint32_t>(p[0]) << 16;
            }
            const size_t i = y * static_cast<size_t>(width) + x;
            image.pixels[i] = colour;
            image.transparent[i] = (maskRow[x / 8] >> (7 - x % 8)) & 1;
        }
    }
    out = std::move(image);
    return true;
}

bool ParseVersionInfo(const unsigned char* data, size_t size, VersionInfo& out) {
    if (data == nullptr) return false;
    VersionNode root;
    if (!ReadVersionNode(data, size, 0, root)) return false;
    if (root.key != "VS_VERSION_INFO" || root.valueLength < kFixedFileInfoSize) return false;

    VersionInfo info;
    ByteReader fixed(data, root.end, root.valueBegin);
    uint32_t signature = 0, structVersion = 0;
    if (!fixed.U32(signature) || signature != kFixedFileInfoSignature || !fixed.U32(structVersion) ||
        !fixed.U32(info.fileVersionMS) || !fixed.U32(info.fileVersionLS) ||
        !fixed.U32(info.productVersionMS) || !fixed.U32(info.productVersionLS) ||
        !fixed.U32(info.fileFlagsMask) || !fixed.U32(info.fileFlags) || !fixed.U32(info.fileOS) ||
        !fixed.U32(info.fileType) || !fixed.U32(info.fileSubtype)) {
        return false;
    }

    // StringFileInfo > string table (e.g. "040904B0") > one node per value.
    const auto readStringTable = [&](const VersionNode& table) {
        return ForEachVersionChild(data, table.childrenBegin, table.end, [&](const VersionNode& value) {
            info.strings[table.key + "\\" + value.key] = VersionText(data, value);
            return true;
        });
    };
    // VarFileInfo > "Translation": DWORDs of language and code page.
    const auto readVar = [&](const VersionNode& var) {
        if (var.key != "Translation") return true;
        ByteReader in(data, var.end, var.valueBegin);
        for (uint16_t i = 0; i + 4 <= var.valueLength; i += 4) {
            uint32_t translation = 0;
            if (!in.U32(translation)) return false;
            info.translations.push_back(translation);
        }
        return true;
    };
    const bool ok = ForEachVersionChild(data, root.childrenBegin, root.end, [&](const VersionNode& block) {
        if (block.key == "StringFileInfo") {
            return ForEachVersionChild(data, block.childrenBegin, block.end, readStringTable);
        }
        if (block.key == "VarFileInfo") {
            return ForEachVersionChild(data, block.childrenBegin, block.end, readVar);
        }
        return true;  // a block of another kind: not ours to read
    });
    if (!ok) return false;
    out = std::move(info);
    return true;
}

const char* PredefinedClassName(uint16_t ordinal) {
    switch (ordinal) {
        case 0x80: return "Button";
        case 0x81: return "Edit";
        case 0x82: return "Static";
        case 0x83: return "ListBox";
        case 0x84: return "ScrollBar";
        case 0x85: return "ComboBox";
        default: return nullptr;
    }
}

bool IsWindowClass(const ResName& windowClass, const std::string& className) {
    if (!windowClass.isOrdinal) return EqualNoCase(windowClass.name, className);
    const char* predefined = PredefinedClassName(windowClass.ordinal);
    return predefined != nullptr && EqualNoCase(predefined, className);
}

}  // namespace winsim
