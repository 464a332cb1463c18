// Tests of winsim::ResourceFile: the launcher's compiled resources read back exactly (strings,
// both dialog templates, icons, version block), the decoders on hand-made data, and malformed
// or truncated input rejected without reading outside the bytes given.
#include "ResourceFile.h"

#include "EmbeddedRes.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using winsim::DialogItem;
using winsim::DialogTemplate;
using winsim::IconImage;
using winsim::ResName;
using winsim::ResourceFile;

// Window, dialog and control style bits as documented for Win32.
constexpr uint32_t kWsPopup = 0x80000000, kWsChild = 0x40000000, kWsVisible = 0x10000000;
constexpr uint32_t kWsCaption = 0x00C00000, kWsBorder = 0x00800000, kWsVScroll = 0x00200000;
constexpr uint32_t kWsSysMenu = 0x00080000, kWsGroup = 0x00020000, kWsTabStop = 0x00010000;
constexpr uint32_t kWsExAppWindow = 0x00040000;
constexpr uint32_t kDsModalFrame = 0x80, kDsSetFont = 0x40, kDs3dLook = 0x04;
constexpr uint32_t kBsPushButton = 0x0, kBsDefPushButton = 0x1, kBsOwnerDraw = 0xB;
constexpr uint32_t kBsIcon = 0x40, kBsMultiline = 0x2000;
constexpr uint32_t kSsLeft = 0x0, kSsNoPrefix = 0x80;
constexpr uint32_t kLbsNotify = 0x1, kLbsSort = 0x2, kLbsOwnerDrawFixed = 0x10;
constexpr uint32_t kLbsHasStrings = 0x40, kLbsNoIntegralHeight = 0x100;
constexpr uint32_t kLbsDisableNoScroll = 0x1000;
constexpr uint32_t kCbsDropDownList = 0x3, kCbsOwnerDrawFixed = 0x10, kCbsAutoHScroll = 0x40;
constexpr uint32_t kCbsSort = 0x100, kCbsHasStrings = 0x200;
constexpr uint32_t kEsLeft = 0x0, kEsAutoHScroll = 0x80;
constexpr uint32_t kIdOk = 1, kIdCancel = 2;

// The launcher's two icon-button styles and its plain left-aligned label.
constexpr uint32_t kIconButton =
    kWsChild | kWsVisible | kWsTabStop | kBsMultiline | kBsIcon | kBsOwnerDraw;
constexpr uint32_t kLabel = kWsChild | kWsVisible | kWsGroup | kSsLeft;

std::vector<unsigned char> SetupResBytes() {
    return std::vector<unsigned char>(g_corvaneSetupRes, g_corvaneSetupRes + g_corvaneSetupResSize);
}

class SetupResTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_res.Parse(g_corvaneSetupRes, g_corvaneSetupResSize)); }

    ResourceFile m_res;
};

// ---- strings ----

struct StringRow {
    unsigned id;
    const char* text;  // nullptr: the id has no string
};

TEST_F(SetupResTest, EveryStringReadsExactly) {
    const StringRow rows[] = {
        /*  0 */ {0, nullptr},  // first slot of block 1 is unused
        /*  1 */ {IDS_INSTALLER_NOT_FOUND,
                  "Can't find Lunastra's Corvane installation program.\n"
                  "Would you like to locate it manually?"},  // a real line break
        // 2, 5 and 8 read the same and are each their own entry.
        /*  2 */ {IDS_SETUP_TITLE, "Corvane Setup"},
        /*  3 */ {IDS_WINDOWS_UNSUPPORTED,
                  "This version of Windows is not supported by Corvane.  Please restart the "
                  "computer and run Windows 95 or Windows NT v4.0."},  // two spaces
        /*  4 */ {IDS_ADMIN_REQUIRED,
                  "You must be logged on as an administrator to add or remove Corvane services "
                  "in Windows NT."},
        /*  5 */ {IDS_SETUP_TITLE_RUNNING, "Corvane Setup"},
        /*  6 */ {IDS_SETUP_RUNNING, "There is already a version of Setup running."},
        /*  7 */ {IDS_RESTART_REQUIRED,
                  "You must restart your computer before running Setup.  Do you want to "
                  "restart now?"},  // two spaces
        /*  8 */ {IDS_SETUP_TITLE_RESTART, "Corvane Setup"},
        /*  9 */ {IDS_SERVICES_TITLE, "Corvane Services"},
        /* 10 */ {10, nullptr},  // the catalogue skips 10
        /* 11 */ {IDS_LAUNCH_FAILED,
                  "Corvane setup was unable to launch InstallShield. Please ensure the directory "
                  "you are running from is not a long file name on a Netware server. If you are "
                  "unsure, please contact your administrator."},
        /* 12 */ {IDS_ERROR_TITLE, "Error"},
        /* 13 */ {13, nullptr},     // rest of block 1 is empty
        /* 16 */ {16, nullptr},     // block 2 does not exist
        /* big */ {70000, nullptr},  // beyond the last possible block
    };
    for (const StringRow& row : rows) {
        SCOPED_TRACE("string " + std::to_string(row.id));
        std::string text = "sentinel";
        if (row.text == nullptr) {
            EXPECT_FALSE(m_res.LoadString(row.id, text));
            EXPECT_EQ("sentinel", text);  // untouched
        } else {
            EXPECT_TRUE(m_res.LoadString(row.id, text));
            EXPECT_EQ(row.text, text);
        }
    }
}

// ---- lookup ----

struct LookupRow {
    const char* why;
    ResName type;
    ResName name;
    bool found;
};

TEST_F(SetupResTest, FindMatchesTypeAndNameIgnoringCaseOfNames) {
    const LookupRow rows[] = {
        {"dialog by number", ResName::Ordinal(winsim::kResDialog), ResName::Ordinal(IDD_SERVICES), true},
        {"dialog by its name", ResName::Ordinal(winsim::kResDialog), ResName::String("BROWSEFORSETUP"), true},
        {"names ignore case", ResName::Ordinal(winsim::kResDialog), ResName::String("BrowseForSetup"), true},
        {"a string is not the ordinal", ResName::Ordinal(winsim::kResDialog), ResName::String("102"), false},
        {"number of another type", ResName::Ordinal(winsim::kResGroupIcon), ResName::Ordinal(IDD_SERVICES), false},
        {"no such dialog", ResName::Ordinal(winsim::kResDialog), ResName::Ordinal(103), false},
        {"longer name", ResName::Ordinal(winsim::kResDialog), ResName::String("BROWSEFORSETUP2"), false},
        {"icon group", ResName::Ordinal(winsim::kResGroupIcon), ResName::Ordinal(IDI_REMOVE_SERVICES), true},
        {"type given as a string", ResName::String("DIALOG"), ResName::Ordinal(IDD_SERVICES), false},
    };
    for (const LookupRow& row : rows) {
        SCOPED_TRACE(row.why);
        const winsim::ResourceEntry* entry = m_res.Find(row.type, row.name);
        EXPECT_EQ(row.found, entry != nullptr);
        if (entry != nullptr) {
            EXPECT_EQ(0x409, entry->language);
        }
    }
}

// ---- dialog templates ----

struct ItemRow {
    uint32_t id;
    const char* className;
    uint32_t style;
    const char* text;
    int16_t x, y, cx, cy;
};

void ExpectItems(const DialogTemplate& dlg, const std::vector<ItemRow>& rows) {
    ASSERT_EQ(rows.size(), dlg.items.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const ItemRow& row = rows[i];
        const DialogItem& item = dlg.items[i];
        SCOPED_TRACE("item " + std::to_string(i) + " (" + row.text + ")");
        EXPECT_EQ(row.id, item.id);
        EXPECT_TRUE(winsim::IsWindowClass(item.windowClass, row.className));
        EXPECT_EQ(row.style, item.style) << std::hex << "expected 0x" << row.style << ", read 0x"
                                         << item.style;
        EXPECT_EQ(0u, item.exStyle);
        EXPECT_FALSE(item.title.isOrdinal);
        EXPECT_EQ(row.text, item.title.name);
        EXPECT_EQ(row.x, item.x);
        EXPECT_EQ(row.y, item.y);
        EXPECT_EQ(row.cx, item.cx);
        EXPECT_EQ(row.cy, item.cy);
        EXPECT_TRUE(item.creationData.empty());
    }
}

TEST_F(SetupResTest, ServicesDialogIsTheExtendedTemplate) {
    DialogTemplate dlg;
    ASSERT_TRUE(m_res.LoadDialog(ResName::Ordinal(IDD_SERVICES), dlg));
    EXPECT_TRUE(dlg.extended);
    EXPECT_EQ(kWsPopup | kWsVisible | kWsCaption | kWsSysMenu | kDsModalFrame | kDsSetFont, dlg.style);
    EXPECT_EQ(kWsExAppWindow, dlg.exStyle);
    EXPECT_EQ(0u, dlg.helpId);
    EXPECT_EQ(0, dlg.x);
    EXPECT_EQ(0, dlg.y);
    EXPECT_EQ(214, dlg.cx);
    EXPECT_EQ(114, dlg.cy);
    EXPECT_TRUE(dlg.menu.IsEmpty());
    EXPECT_TRUE(dlg.windowClass.IsEmpty());
    EXPECT_EQ("Corvane Services", dlg.title);
    EXPECT_EQ(8, dlg.pointSize);
    EXPECT_EQ(0, dlg.weight);
    EXPECT_EQ(0, dlg.italic);
    EXPECT_EQ(1, dlg.charset);
    EXPECT_EQ("MS Sans Serif", dlg.typeface);

    constexpr uint32_t kNoId = 0xFFFFFFFF;  // -1 in the extended form's 32-bit id
    ExpectItems(dlg, {
        {IDC_REMOVE_SERVICES, "Button", kIconButton, "&Remove Services", 13, 15, 104, 37},
        {kIdCancel, "Button", kIconButton, "&Quit Applet", 13, 60, 104, 37},
        {kNoId, "Static", kLabel, "Uninstall existing Corvane services.", 124, 25, 80, 27},
        {kNoId, "Static", kLabel, "Quit this applet.", 124, 71, 80, 20},
    });
    // The shipped layout has no third button, though the dialog code still names it.
    for (const DialogItem& item : dlg.items) EXPECT_NE(uint32_t{IDC_SETUP_SERVICES}, item.id);
}

TEST_F(SetupResTest, BrowseDialogIsTheClassicTemplate) {
    DialogTemplate dlg;
    ASSERT_TRUE(m_res.LoadDialog(ResName::String("BROWSEFORSETUP"), dlg));
    EXPECT_FALSE(dlg.extended);
    EXPECT_EQ(kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDsSetFont | kDs3dLook, dlg.style);
    EXPECT_EQ(0u, dlg.exStyle);
    EXPECT_EQ(36, dlg.x);
    EXPECT_EQ(24, dlg.y);
    EXPECT_EQ(151, dlg.cx);
    EXPECT_EQ(169, dlg.cy);
    EXPECT_TRUE(dlg.menu.IsEmpty());
    EXPECT_TRUE(dlg.windowClass.IsEmpty());
    EXPECT_EQ("Browse for Corvane Setup", dlg.title);
    EXPECT_EQ(8, dlg.pointSize);
    EXPECT_EQ("Helv", dlg.typeface);

    constexpr uint32_t kNoId = 0xFFFF;  // -1 in the classic form's 16-bit id
    ExpectItems(dlg, {
        {kNoId, "Static", kLabel,
         "Please select the folder where the Corvane installation program is located.", 7, 7, 138, 19},
        // Current folder: the file-open dialog writes the path; no '&' mnemonics in it.
        {1088, "Static", kWsChild | kWsVisible | kWsGroup | kSsNoPrefix, "", 7, 32, 138, 9},
        {1121, "ListBox",
         kWsChild | kWsVisible | kWsVScroll | kWsBorder | kWsTabStop | kLbsSort | kLbsNotify |
             kLbsOwnerDrawFixed | kLbsHasStrings | kLbsNoIntegralHeight | kLbsDisableNoScroll,
         "", 7, 43, 138, 67},
        {1091, "Static", kLabel, "Dri&ves:", 7, 116, 92, 9},
        {1137, "ComboBox",
         kWsChild | kWsVisible | kWsVScroll | kWsBorder | kWsTabStop | kCbsDropDownList |
             kCbsOwnerDrawFixed | kCbsHasStrings | kCbsSort | kCbsAutoHScroll,
         "", 7, 126, 138, 68},
        {kIdOk, "Button", kWsChild | kWsVisible | kWsTabStop | kWsGroup | kBsDefPushButton, "OK",
         21, 148, 50, 14},
        {kIdCancel, "Button", kWsChild | kWsVisible | kWsTabStop | kBsPushButton, "Cancel", 80,
         148, 50, 14},
        // File-name box and file list: present for the file-open dialog, hidden from the user,
        // so that only a folder can be chosen.
        {1152, "Edit", kWsChild | kWsBorder | kWsTabStop | kEsLeft | kEsAutoHScroll, "", 139, 140, 6, 12},
        {1120, "ListBox", kWsChild | kWsBorder | kLbsNotify, "", 138, 159, 8, 9},
    });
}

// ---- icons ----

// The standard 16-colour palette as COLORREF values.
const std::set<uint32_t>& VgaColours() {
    static const std::set<uint32_t> colours = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
        0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    };
    return colours;
}

TEST_F(SetupResTest, EveryIconIs32By32In16ColoursWithAMask) {
    for (unsigned id : {IDI_SETUP, IDI_QUIT, IDI_SETUP_SERVICES, IDI_REMOVE_SERVICES}) {
        SCOPED_TRACE("icon " + std::to_string(id));
        IconImage icon;
        ASSERT_TRUE(m_res.LoadIcon(ResName::Ordinal(static_cast<uint16_t>(id)), icon));
        EXPECT_EQ(32, icon.width);
        EXPECT_EQ(32, icon.height);
        ASSERT_EQ(32u * 32u, icon.pixels.size());
        size_t transparent = 0;
        for (size_t i = 0; i < icon.pixels.size(); ++i) {
            EXPECT_EQ(1u, VgaColours().count(icon.pixels[i])) << "pixel " << i;
            if (icon.transparent[i]) {
                ++transparent;
                // Colour bits 0 under a set mask bit leave the background as it is.
                EXPECT_EQ(0u, icon.pixels[i]) << "pixel " << i;
            }
        }
        EXPECT_GT(transparent, 0u);                   // not a solid square
        EXPECT_LT(transparent, icon.pixels.size());  // and not empty
    }
}

TEST_F(SetupResTest, IconsShowTheirOwnPictures) {
    IconImage setup, setupServices, quit, removeServices;
    ASSERT_TRUE(m_res.LoadIcon(ResName::Ordinal(IDI_SETUP), setup));
    ASSERT_TRUE(m_res.LoadIcon(ResName::Ordinal(IDI_SETUP_SERVICES), setupServices));
    ASSERT_TRUE(m_res.LoadIcon(ResName::Ordinal(IDI_QUIT), quit));
    ASSERT_TRUE(m_res.LoadIcon(ResName::Ordinal(IDI_REMOVE_SERVICES), removeServices));

    EXPECT_EQ(setup.pixels, setupServices.pixels);  // the same picture twice
    EXPECT_EQ(setup.transparent, setupServices.transparent);
    EXPECT_NE(setup.pixels, quit.pixels);
    EXPECT_NE(setup.pixels, removeServices.pixels);
    EXPECT_NE(quit.pixels, removeServices.pixels);

    const auto at = [](const IconImage& icon, int x, int y) { return size_t(y * icon.width + x); };
    // The cross's bars meet in the middle, in red.
    EXPECT_EQ(0x0000FFu, quit.pixels[at(quit, 15, 15)]);
    EXPECT_EQ(0x0000FFu, quit.pixels[at(quit, 16, 16)]);
    EXPECT_TRUE(quit.transparent[at(quit, 0, 0)]);
    // Upright: the monitor's black frame starts at the top left, the box stands bottom right
    // (dark yellow), and the bottom-left corner is empty.
    EXPECT_FALSE(setup.transparent[at(setup, 1, 1)]);
    EXPECT_EQ(0x000000u, setup.pixels[at(setup, 1, 1)]);
    EXPECT_EQ(0x008080u, setup.pixels[at(setup, 25, 25)]);
    EXPECT_TRUE(setup.transparent[at(setup, 1, 30)]);
}

// ---- version block ----

TEST_F(SetupResTest, VersionBlockHoldsTheReleaseNumbers) {
    winsim::VersionInfo info;
    ASSERT_TRUE(m_res.LoadVersionInfo(info));
    EXPECT_EQ(50000u, info.fileVersionMS);          // 0.50000
    EXPECT_EQ(2002u << 16, info.fileVersionLS);      // .2002.0
    EXPECT_EQ(0u, info.productVersionMS);
    EXPECT_EQ(0u, info.productVersionLS);
    const std::map<std::string, std::string> strings = {
        {"040904B0\\FileDescription", "Corvane Setup Component"},
        {"040904B0\\FileVersion", "0,50000,2002,0"},
        {"040904B0\\ProductName", "Corvane"},
        {"040904B0\\ProductVersion", "0,0,0,0"},
    };
    EXPECT_EQ(strings, info.strings);
    EXPECT_EQ(std::vector<uint32_t>{0x04B00409}, info.translations);  // US English, Unicode
}

// ---- icon decoding on hand-made images ----

// An icon image: BITMAPINFOHEADER (height doubled), palette, then the given colour and mask
// rows, which the case writes bottom row first and padded, as stored.
std::vector<unsigned char> IconDib(int32_t width, int32_t height, uint16_t bitCount,
                                   const std::vector<uint32_t>& paletteBgrx,
                                   const std::vector<unsigned char>& colourRows,
                                   const std::vector<unsigned char>& maskRows) {
    std::vector<unsigned char> out;
    const auto u16 = [&out](uint16_t v) {
        out.push_back(static_cast<unsigned char>(v));
        out.push_back(static_cast<unsigned char>(v >> 8));
    };
    const auto u32 = [&u16](uint32_t v) {
        u16(static_cast<uint16_t>(v));
        u16(static_cast<uint16_t>(v >> 16));
    };
    u32(40);
    u32(static_cast<uint32_t>(width));
    u32(static_cast<uint32_t>(height * 2));
    u16(1);
    u16(bitCount);
    u32(0);  // BI_RGB
    u32(0);
    u32(0);
    u32(0);
    u32(static_cast<uint32_t>(paletteBgrx.size()));
    u32(0);
    for (uint32_t quad : paletteBgrx) u32(quad);
    out.insert(out.end(), colourRows.begin(), colourRows.end());
    out.insert(out.end(), maskRows.begin(), maskRows.end());
    return out;
}

struct DibRow {
    const char* why;
    std::vector<unsigned char> dib;
    int width, height;
    std::vector<uint32_t> pixels;  // top row first, COLORREF
    std::vector<bool> transparent;
};

TEST(IconDecoding, PixelOrderRowOrderAndMaskFollowTheStoredLayout) {
    // Palette entries as stored (0x00RRGGBB read little-endian is B, G, R, 0), and the
    // COLORREF each decodes to.
    constexpr uint32_t kWhiteQuad = 0x00FFFFFF, kRedQuad = 0x00FF0000, kBlueQuad = 0x000000FF;
    constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0x0000FF, kBlue = 0xFF0000;
    const std::vector<uint32_t> sixteen = {0, kRedQuad, kBlueQuad, kWhiteQuad, 0x00102030, 0, 0, 0,
                                           0, 0,        0,         0,          0,          0, 0, 0};
    const DibRow rows[] = {
        {"1 bpp: leftmost pixel in the high bit; rows padded to 4 bytes",
         IconDib(3, 2, 1, {0, kWhiteQuad},
                 {0x40, 0, 0, 0,    // bottom row: black white black
                  0xA0, 0, 0, 0},   // top row: white black white
                 {0x00, 0, 0, 0,    // bottom row opaque
                  0x80, 0, 0, 0}),  // top row: first pixel transparent
         3, 2,
         {kWhite, kBlack, kWhite, kBlack, kWhite, kBlack},
         {true, false, false, false, false, false}},
        {"4 bpp: leftmost pixel in the high nibble",
         IconDib(3, 2, 4, sixteen,
                 {0x21, 0x30, 0, 0,   // bottom row: blue red white
                  0x12, 0x40, 0, 0},  // top row: red blue 0x302010
                 {0x20, 0, 0, 0,      // bottom row: last pixel transparent
                  0x00, 0, 0, 0}),
         3, 2,
         {kRed, kBlue, 0x302010, kBlue, kRed, kWhite},
         {false, false, false, false, false, true}},
        {"8 bpp with a short palette (biClrUsed 3)",
         IconDib(2, 2, 8, {kRedQuad, kBlueQuad, kWhiteQuad},
                 {2, 0, 0, 0,   // bottom row: white red
                  1, 2, 0, 0},  // top row: blue white
                 {0x40, 0, 0, 0, 0x00, 0, 0, 0}),
         2, 2,
         {kBlue, kWhite, kWhite, kRed},
         {false, false, false, true}},
        {"24 bpp: blue, green, red bytes",
         IconDib(1, 2, 24, {},
                 {0x11, 0x22, 0x33, 0,   // bottom
                  0xAA, 0xBB, 0xCC, 0},  // top
                 {0, 0, 0, 0, 0x80, 0, 0, 0}),
         1, 2,
         {0xAABBCC, 0x112233},
         {true, false}},
    };
    for (const DibRow& row : rows) {
        SCOPED_TRACE(row.why);
        IconImage icon;
        ASSERT_TRUE(winsim::DecodeIconImage(row.dib.data(), row.dib.size(), icon));
        EXPECT_EQ(row.width, icon.width);
        EXPECT_EQ(row.height, icon.height);
        EXPECT_EQ(row.pixels, icon.pixels);
        EXPECT_EQ(row.transparent, icon.transparent);
    }
}

TEST(IconDecoding, RejectsImagesItCannotDraw) {
    const std::vector<unsigned char> good =
        IconDib(1, 1, 1, {0, 0x00FFFFFF}, {0x80, 0, 0, 0}, {0, 0, 0, 0});
    struct Row {
        const char* why;
        std::vector<unsigned char> dib;
    };
    std::vector<Row> rows = {
        {"palette index past a short palette", IconDib(1, 1, 8, {0}, {5, 0, 0, 0}, {0, 0, 0, 0})},
        {"palette longer than the bit count allows", IconDib(1, 1, 1, {0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0})},
        {"unsupported bit count", IconDib(1, 1, 16, {}, {0, 0, 0, 0}, {0, 0, 0, 0})},
        {"no pixels", IconDib(0, 1, 4, {}, {}, {})},
        {"mask missing", IconDib(1, 1, 1, {0, 0}, {0, 0, 0, 0}, {})},
    };
    Row compressed{"compressed", good};
    compressed.dib[16] = 1;  // biCompression = BI_RLE8
    rows.push_back(compressed);
    Row oddHeight{"height not doubled for the mask", good};
    oddHeight.dib[8] = 3;
    rows.push_back(oddHeight);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        IconImage icon;
        icon.width = 77;  // sentinel
        EXPECT_FALSE(winsim::DecodeIconImage(row.dib.data(), row.dib.size(), icon));
        EXPECT_EQ(77, icon.width);
    }
    // Every truncation of a good image is refused; each copy is exactly as long as the
    // bytes it holds, so a read past them is caught by the address sanitizer too.
    for (size_t n = 0; n < good.size(); ++n) {
        const std::vector<unsigned char> cut(good.begin(), good.begin() + n);
        IconImage icon;
        EXPECT_FALSE(winsim::DecodeIconImage(cut.data(), cut.size(), icon)) << n << " bytes";
    }
}

// ---- malformed resource files ----

// Writes a 32-bit .res file: the leading empty entry, then each resource added.
class ResWriter {
public:
    ResWriter() { Add(ResName::Ordinal(0), ResName::Ordinal(0), {}); }

    ResWriter& Add(const ResName& type, const ResName& name, const std::vector<unsigned char>& data) {
        std::vector<unsigned char> header;
        Id(header, type);
        Id(header, name);
        while (header.size() % 4 != 0) header.push_back(0);
        const size_t headerSize = 8 + header.size() + 16;
        U32(m_bytes, static_cast<uint32_t>(data.size()));
        U32(m_bytes, static_cast<uint32_t>(headerSize));
        m_bytes.insert(m_bytes.end(), header.begin(), header.end());
        U32(m_bytes, 0);           // DataVersion
        U16(m_bytes, 0x1030);      // MemoryFlags
        U16(m_bytes, 0x409);       // LanguageId
        U32(m_bytes, 0);           // Version
        U32(m_bytes, 0);           // Characteristics
        m_bytes.insert(m_bytes.end(), data.begin(), data.end());
        while (m_bytes.size() % 4 != 0) m_bytes.push_back(0);
        return *this;
    }

    const std::vector<unsigned char>& Bytes() const { return m_bytes; }

    static void U16(std::vector<unsigned char>& out, uint16_t v) {
        out.push_back(static_cast<unsigned char>(v));
        out.push_back(static_cast<unsigned char>(v >> 8));
    }
    static void U32(std::vector<unsigned char>& out, uint32_t v) {
        U16(out, static_cast<uint16_t>(v));
        U16(out, static_cast<uint16_t>(v >> 16));
    }

private:
    static void Id(std::vector<unsigned char>& out, const ResName& id) {
        if (id.isOrdinal) {
            U16(out, 0xFFFF);
            U16(out, id.ordinal);
            return;
        }
        for (char c : id.name) U16(out, static_cast<unsigned char>(c));
        U16(out, 0);
    }

    std::vector<unsigned char> m_bytes;
};

void PutU32(std::vector<unsigned char>& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

struct MalformedRow {
    const char* why;
    std::vector<unsigned char> bytes;
};

TEST(ResourceFileParse, RejectsMalformedFilesAndServesNothing) {
    const std::vector<unsigned char> real = SetupResBytes();
    const size_t second = 32;  // the first real entry's header follows the empty one

    std::vector<MalformedRow> rows;
    rows.push_back({"empty input", {}});
    rows.push_back({"leading header cut short", {real.begin(), real.begin() + 31}});
    {
        MalformedRow row{"leading header carries data", real};
        PutU32(row.bytes, 0, 4);
        rows.push_back(row);
    }
    rows.push_back({"second header cut short", {real.begin(), real.begin() + second + 20}});
    rows.push_back({"first resource's data cut short", {real.begin(), real.begin() + second + 32 + 100}});
    {
        MalformedRow row{"data length past the end", real};
        PutU32(row.bytes, second, 0xFFFFFFF0);
        rows.push_back(row);
    }
    {
        MalformedRow row{"header length past the end", real};
        PutU32(row.bytes, second + 4, 0x7FFFFFFF);
        rows.push_back(row);
    }
    {
        MalformedRow row{"header too short for its own fields", real};
        PutU32(row.bytes, second + 4, 12);
        rows.push_back(row);
    }
    {
        // Type RT_STRING, then a name "AB" with no terminator inside HeaderSize (16). The
        // 20 data bytes would supply a terminator and the header's remaining fields to a
        // reader that ignored HeaderSize.
        std::vector<unsigned char> bytes(real.begin(), real.begin() + second);
        ResWriter::U32(bytes, 20);
        ResWriter::U32(bytes, 16);
        for (uint16_t unit : {0xFFFF, 6, 0x41, 0x42}) ResWriter::U16(bytes, unit);
        bytes.resize(bytes.size() + 20, 0);
        rows.push_back({"unterminated name", bytes});
    }
    {
        MalformedRow row{"stray bytes after the last resource", real};
        row.bytes.push_back(1);
        row.bytes.push_back(2);
        rows.push_back(row);
    }
    rows.push_back({"no leading empty entry", {real.begin() + second, real.end()}});
    rows.push_back({"not a resource file", std::vector<unsigned char>(64, 0xFF)});

    for (const MalformedRow& row : rows) {
        SCOPED_TRACE(row.why);
        ResourceFile file;
        ASSERT_TRUE(file.Parse(real.data(), real.size()));  // a failed parse also drops these
        EXPECT_FALSE(file.Parse(row.bytes.data(), row.bytes.size()));
        EXPECT_TRUE(file.Entries().empty());
        std::string text;
        EXPECT_FALSE(file.LoadString(IDS_SETUP_TITLE, text));
    }
}

TEST(ResourceFileParse, EveryPrefixOfTheRealFileIsHandled) {
    const std::vector<unsigned char> real = SetupResBytes();
    ResourceFile full;
    ASSERT_TRUE(full.Parse(real.data(), real.size()));
    for (size_t n = 0; n < real.size(); ++n) {
        const std::vector<unsigned char> cut(real.begin(), real.begin() + n);
        ResourceFile file;
        // A cut on a resource boundary is a valid, shorter file; any other cut is refused.
        if (file.Parse(cut.data(), cut.size())) {
            EXPECT_LT(file.Entries().size(), full.Entries().size()) << n << " bytes";
        } else {
            EXPECT_TRUE(file.Entries().empty()) << n << " bytes";
        }
    }
}

TEST_F(SetupResTest, EveryTruncatedDialogTemplateIsRefused) {
    for (const ResName& name : {ResName::Ordinal(IDD_SERVICES), ResName::String("BROWSEFORSETUP")}) {
        const winsim::ResourceEntry* entry = m_res.Find(ResName::Ordinal(winsim::kResDialog), name);
        ASSERT_NE(nullptr, entry);
        const std::vector<unsigned char> whole(entry->data, entry->data + entry->size);
        DialogTemplate dlg;
        ASSERT_TRUE(winsim::ParseDialogTemplate(whole.data(), whole.size(), dlg));
        for (size_t n = 0; n < whole.size(); ++n) {
            const std::vector<unsigned char> cut(whole.begin(), whole.begin() + n);
            DialogTemplate out;
            out.title = "sentinel";
            EXPECT_FALSE(winsim::ParseDialogTemplate(cut.data(), cut.size(), out)) << n << " bytes";
            EXPECT_EQ("sentinel", out.title);
        }
        // An item count larger than the items present.
        std::vector<unsigned char> more = whole;
        const size_t countAt = dlg.extended ? 16 : 8;
        more[countAt] = static_cast<unsigned char>(more[countAt] + 1);
        EXPECT_FALSE(winsim::ParseDialogTemplate(more.data(), more.size(), dlg));
    }
}

TEST(ResourceFileParse, BrokenStringBlocksAndIconGroupsYieldNothing) {
    // Block 1 whose entry 1 claims 40 units but the block ends after 3.
    std::vector<unsigned char> block;
    ResWriter::U16(block, 1);
    ResWriter::U16(block, 'A');  // id 0: "A"
    ResWriter::U16(block, 40);   // id 1: runs past the end
    for (uint16_t unit : {'B', 'C', 'D'}) ResWriter::U16(block, unit);
    // An icon group naming image 9, which the file lacks, and one with only a 16 x 16 image.
    const auto group = [](uint8_t size, uint16_t imageId) {
        std::vector<unsigned char> g;
        for (uint16_t v : {0, 1, 1}) ResWriter::U16(g, v);
        g.insert(g.end(), {size, size, 16, 0});
        ResWriter::U16(g, 1);
        ResWriter::U16(g, 4);
        ResWriter::U32(g, 744);
        ResWriter::U16(g, imageId);
        return g;
    };
    const std::vector<unsigned char> image16 =
        IconDib(16, 16, 1, {0, 0}, std::vector<unsigned char>(16 * 4), std::vector<unsigned char>(16 * 4));
    ResWriter writer;
    writer.Add(ResName::Ordinal(winsim::kResString), ResName::Ordinal(1), block)
        .Add(ResName::Ordinal(winsim::kResGroupIcon), ResName::Ordinal(1), group(32, 9))
        .Add(ResName::Ordinal(winsim::kResIcon), ResName::Ordinal(2), image16)
        .Add(ResName::Ordinal(winsim::kResGroupIcon), ResName::Ordinal(2), group(16, 2));

    ResourceFile file;
    ASSERT_TRUE(file.Parse(writer.Bytes().data(), writer.Bytes().size()));
    std::string text;
    EXPECT_TRUE(file.LoadString(0, text));
    EXPECT_EQ("A", text);
    EXPECT_FALSE(file.LoadString(1, text));  // counted past the block
    EXPECT_FALSE(file.LoadString(2, text));  // behind the broken entry
    IconImage icon;
    EXPECT_FALSE(file.LoadIcon(ResName::Ordinal(1), icon));  // image 9 missing
    EXPECT_FALSE(file.LoadIcon(ResName::Ordinal(2), icon));  // no 32 x 32 image
    EXPECT_FALSE(file.LoadIcon(ResName::Ordinal(3), icon));  // no such group
}

TEST(ResourceFileParse, StringsNarrowToSingleBytes) {
    std::vector<unsigned char> block;
    for (uint16_t unit : {3, 0x41, 0xE9, 0x263A}) ResWriter::U16(block, unit);  // id 0: 3 units
    ResWriter writer;
    writer.Add(ResName::Ordinal(winsim::kResString), ResName::Ordinal(1), block);
    ResourceFile file;
    ASSERT_TRUE(file.Parse(writer.Bytes().data(), writer.Bytes().size()));
    std::string text;
    ASSERT_TRUE(file.LoadString(0, text));
    EXPECT_EQ("A\xE9?", text);  // below 256 kept as the byte, above it '?'
}

// ---- class names ----

TEST(DialogClasses, OrdinalsAndNamesNameTheSameClasses) {
    struct Row {
        ResName windowClass;
        const char* className;
        bool matches;
    };
    const Row rows[] = {
        {ResName::Ordinal(0x80), "Button", true},
        {ResName::Ordinal(0x81), "Edit", true},
        {ResName::Ordinal(0x82), "STATIC", true},  // case does not matter
        {ResName::Ordinal(0x83), "ListBox", true},
        {ResName::Ordinal(0x84), "ScrollBar", true},
        {ResName::Ordinal(0x85), "ComboBox", true},
        {ResName::Ordinal(0x85), "ListBox", false},
        {ResName::Ordinal(0x86), "", false},  // not a predefined class
        {ResName::Ordinal(0x7F), "", false},
        {ResName::String("BUTTON"), "Button", true},  // class written out by name
        {ResName::String("MyClass"), "Button", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.windowClass.isOrdinal ? std::to_string(row.windowClass.ordinal)
                                               : row.windowClass.name);
        EXPECT_EQ(row.matches, winsim::IsWindowClass(row.windowClass, row.className));
    }
    EXPECT_EQ(nullptr, winsim::PredefinedClassName(0x86));
}

}  // namespace
