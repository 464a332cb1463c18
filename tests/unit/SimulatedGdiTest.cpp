// winsim's own parts of GDI, which no other platform shares and the conformance tests cannot
// pin: text drawn in the fixed font as blocks, and the count of live drawing objects.
#include <gtest/gtest.h>

#include <string>

#include "Canvas.h"
#include "LauncherHarness.h"
#include "winsim_gdi_view.h"

namespace {

const COLORREF kBack = RGB(0x33, 0x66, 0x99);
const COLORREF kText = RGB(0, 0, 0);
const COLORREF kTextBack = RGB(255, 255, 255);
const int kCellX = 6;   // the fixed font's cell
const int kCellY = 13;

// The cells of one line of text starting at (left, top), read back: 'g' a glyph, 'U' an
// underlined glyph, '_' an underlined blank, ' ' a blank cell in the background colour, '.'
// a cell left alone.
std::string ReadCells(const test::Canvas& canvas, int left, int top, int cells) {
    std::string out;
    for (int i = 0; i < cells; ++i) {
        int x = left + i * kCellX;
        bool glyph = canvas.At(x + 2, top + 6) == kText;
        bool underline = canvas.At(x + 2, top + 11) == kText;
        bool touched = canvas.At(x, top) != kBack;
        out += glyph ? (underline ? 'U' : 'g') : underline ? '_' : touched ? ' ' : '.';
    }
    return out;
}

class SimulatedGdiTest : public test::WorldTest {};

TEST_F(SimulatedGdiTest, DrawTextShowsPrefixesAsUnderlinesAndBreaksLines) {
    struct Row {
        const char* text;
        UINT format;
        const char* line1;
        const char* line2;
        const char* why;
    } rows[] = {
        {"&Quit", 0, "Uggg....", "........", "\"&\" underlines the next character and is not drawn"},
        {"Save && Exit", 0, "gggg g gggg.", "............", "\"&&\" draws one \"&\", not underlined"},
        {"ab&", 0, "gg..", "....", "a final \"&\" draws nothing"},
        {"a& b", 0, "g_g.", "....", "a blank can be the marked character"},
        {"&Quit", DT_NOPREFIX, "ggggg...", "........", "DT_NOPREFIX draws \"&\" as a character"},
        {"ab\ncd", 0, "gg..", "gg..", "a line break starts a new line"},
        {"ab\r\ncd", 0, "gg..", "gg..", "CR LF is one break"},
        {"ab\ncd", DT_SINGLELINE, "ggggg.", "......", "DT_SINGLELINE draws the break as a character"},
    };
    for (const Row& row : rows) {
        test::Canvas canvas(100, 2 * kCellY + 4, kBack);
        RECT rc = {0, 0, 100, 2 * kCellY};
        DrawTextA(canvas.dc(), row.text, -1, &rc, row.format);
        int cells = static_cast<int>(std::string(row.line1).size());
        EXPECT_EQ(row.line1, ReadCells(canvas, 0, 0, cells)) << row.why;
        EXPECT_EQ(row.line2, ReadCells(canvas, 0, kCellY, cells)) << row.why;
    }
}

TEST_F(SimulatedGdiTest, DrawTextDrawsInTheTextColourAndKeepsInsideItsRectangle) {
    test::Canvas canvas(60, 20, kBack);
    SetTextColor(canvas.dc(), RGB(255, 0, 0));
    SetBkMode(canvas.dc(), TRANSPARENT);
    // Two and a half cells wide: the third cell is cut at the rectangle's right edge.
    RECT rc = {6, 2, 6 + 2 * kCellX + 3, 2 + kCellY};
    DrawTextA(canvas.dc(), "abcd", 4, &rc, 0);
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(6 + 2, 2 + 6));                // first glyph
    EXPECT_EQ(kBack, canvas.At(6 + 0, 2 + 0));                         // transparent: no cell background
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(6 + 2 * kCellX + 2, 2 + 6));   // third glyph, inside
    EXPECT_EQ(kBack, canvas.At(6 + 2 * kCellX + 3, 2 + 6));            // third glyph, outside
    EXPECT_EQ(kBack, canvas.At(6 + 3 * kCellX + 2, 2 + 6));            // fourth glyph: all outside
    EXPECT_EQ(kBack, canvas.At(6 + 2, 1));                             // nothing above

    auto texts = winsim::DrawnTexts();
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ("abcd", texts[0].text);
    EXPECT_EQ(rc.left, texts[0].rect.left);
    EXPECT_EQ(rc.right, texts[0].rect.right);
    EXPECT_TRUE(texts[0].hwnd == NULL);
}

TEST_F(SimulatedGdiTest, OpaqueTextFillsEachCellWithTheBackgroundColour) {
    test::Canvas canvas(20, 20, kBack);
    RECT rc = {0, 0, 20, 20};
    DrawTextA(canvas.dc(), "a b", 3, &rc, 0);
    EXPECT_EQ("g g", ReadCells(canvas, 0, 0, 3));
    EXPECT_EQ(kTextBack, canvas.At(kCellX + 2, 6));  // the blank's cell
    EXPECT_EQ(kBack, canvas.At(2, kCellY + 1));      // below the line
}

TEST_F(SimulatedGdiTest, EveryCreatedObjectAndContextCountsUntilDeleted) {
    int before = winsim::LiveGdiObjects();
    HPEN hPen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HBRUSH hBrush = CreateSolidBrush(RGB(1, 2, 3));
    HDC hdc = CreateCompatibleDC(NULL);
    HBITMAP hbm = CreateCompatibleBitmap(hdc, 4, 4);
    HDC hScreen = GetDC(NULL);
    EXPECT_EQ(before + 5, winsim::LiveGdiObjects());
    // Stock objects never count.
    GetStockObject(BLACK_PEN);
    DeleteObject(GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(before + 5, winsim::LiveGdiObjects());
    ReleaseDC(NULL, hScreen);
    DeleteObject(hbm);
    DeleteDC(hdc);
    DeleteObject(hBrush);
    DeleteObject(hPen);
    EXPECT_EQ(before, winsim::LiveGdiObjects());
}

TEST_F(SimulatedGdiTest, RefusedCreationsFailUntilTheLimitIsLifted) {
    winsim::RefuseGdiObjectsAfter(1);
    HPEN hPen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_TRUE(hPen != NULL);
    EXPECT_TRUE(CreateSolidBrush(0) == NULL);
    EXPECT_TRUE(CreatePen(PS_SOLID, 1, 0) == NULL);
    winsim::RefuseGdiObjectsAfter(-1);
    HBRUSH hBrush = CreateSolidBrush(0);
    EXPECT_TRUE(hBrush != NULL);
    DeleteObject(hPen);
    DeleteObject(hBrush);
}

}  // namespace
