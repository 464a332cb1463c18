// The Services dialog's icon buttons drawn by its OnDrawItem into a memory DC, on both
// platforms: the small edge pictures, and a full-size button with its icon in every state. Text comes in the platform's font, so the caption's own pixels are left out.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ButtonPictures.h"
#include "Canvas.h"
#include "Platform.h"
#include "ModelessServicesDlg.h"
#include "ServicesDlg.h"

namespace {

using test::Canvas;
using test::Lines;

const COLORREF kBack = RGB(0x33, 0x66, 0x99);

// The button letters, then the sixteen colours the launcher's icons are drawn in (letters as
// in res/icons/*.txt; where an icon colour equals a button colour, the button letter shows).
test::Legend IconButtonLegend() {
    test::Legend legend = test::ButtonLegend(kBack);
    const test::Legend palette = {
        {'K', RGB(0x00, 0x00, 0x00)}, {'r', RGB(0x80, 0x00, 0x00)}, {'g', RGB(0x00, 0x80, 0x00)},
        {'y', RGB(0x80, 0x80, 0x00)}, {'b', RGB(0x00, 0x00, 0x80)}, {'m', RGB(0x80, 0x00, 0x80)},
        {'c', RGB(0x00, 0x80, 0x80)}, {'s', RGB(0xC0, 0xC0, 0xC0)}, {'d', RGB(0x80, 0x80, 0x80)},
        {'R', RGB(0xFF, 0x00, 0x00)}, {'G', RGB(0x00, 0xFF, 0x00)}, {'Y', RGB(0xFF, 0xFF, 0x00)},
        {'B', RGB(0x00, 0x00, 0xFF)}, {'M', RGB(0xFF, 0x00, 0xFF)}, {'C', RGB(0x00, 0xFF, 0xFF)},
        {'W', RGB(0xFF, 0xFF, 0xFF)},
    };
    legend.insert(legend.end(), palette.begin(), palette.end());
    return legend;
}

// A Services dialog made modelessly from its template, through the class library's dialog
// procedure, so that its initialisation stores the buttons' icons.
class ServicesButtonPaint : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_services.Create());
    }
    void TearDown() override {
        m_services.Destroy();
    }

    // Gives the focus to "&Remove Services" or takes it away to "&Quit Applet".
    void FocusRemove(bool focus) {
        HWND hWanted = focus ? m_services.hRemove : m_services.hQuit;
        SetFocus(hWanted);
        ASSERT_EQ(hWanted, GetFocus());
    }

    void DrawRemove(HDC hdc, int cx, int cy, bool pressed) {
        DRAWITEMSTRUCT dis = DRAWITEMSTRUCT();
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = IDC_REMOVE_SERVICES;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = pressed ? ODS_SELECTED : 0;
        dis.hwndItem = m_services.hRemove;
        dis.hDC = hdc;
        SetRect(&dis.rcItem, 0, 0, cx, cy);
        m_services.dlg->OnDrawItem(IDC_REMOVE_SERVICES, &dis);
    }

    test::ModelessServicesDlg m_services;
};

TEST_F(ServicesButtonPaint, TheEdgePictures) {
    struct Row {
        int cx, cy;
        bool pressed, focus;
        std::vector<std::string> picture;
        const char* what;
    } rows[] = {
        {8, 6, false, false, test::kRaised8x6, "raised"},
        {8, 6, true, false, test::kPressed8x6, "pressed"},
        {12, 10, false, false, test::kRaised12x10, "raised"},
        {12, 10, false, true, test::WithFocusDots(test::kRaisedFocused12x10), "raised with focus"},
        {12, 10, true, true, test::WithFocusDots(test::kPressedFocused12x10), "pressed with focus"},
    };
    // No icon: the pictures are of the edge.
    SendMessageA(m_services.hRemove, BM_SETIMAGE, IMAGE_ICON, 0);
    for (const Row& row : rows) {
        FocusRemove(row.focus);
        Canvas canvas(row.cx, row.cy, kBack);
        DrawRemove(canvas.dc(), row.cx, row.cy, row.pressed);
        EXPECT_EQ(Lines(row.picture), canvas.Picture(test::ButtonLegend(kBack))) << row.what;
    }
}

// What the raised edge puts at (x, y) of the working rectangle w: highlight along the left and
// top, black along the outer right and bottom, shadow just inside the black. Where highlight
// and black meet, the black (drawn later) has the pixel; the shadow meets neither. False
// where the face shows.
bool RaisedEdgeAt(const RECT& w, int x, int y, COLORREF* color) {
    if (x == w.right - 1 || y == w.bottom - 1) *color = RGB(0, 0, 0);
    else if (x == w.left || y == w.top) *color = GetSysColor(COLOR_BTNHIGHLIGHT);
    else if (x == w.right - 2 || y == w.bottom - 2) *color = GetSysColor(COLOR_BTNSHADOW);
    else return false;
    return true;
}

bool PressedEdgeAt(const RECT& w, int x, int y, COLORREF* color) {
    if (x != w.left && x != w.right - 1 && y != w.top && y != w.bottom - 1) return false;
    *color = GetSysColor(COLOR_BTNSHADOW);
    return true;
}

// "&Remove Services" at (0, 0, 156, 60) with its icon, in each state, against the picture put
// together pixel by pixel: face, focus frame and dots, edge on the working rectangle, and the
// icon at its place for the state. The caption is made short so that its text, whose pixels depend on the
// platform's font, stays clear of the edge; the box it takes is left out of the comparison.
TEST_F(ServicesButtonPaint, AFullSizeButtonInEachState) {
    struct Row {
        bool pressed, focus;
        POINT icon;
        const char* what;
    } rows[] = {
        {false, false, {9, 13}, "raised"},
        {true, false, {10, 14}, "pressed"},
        {false, true, {9, 13}, "raised with focus"},
        {true, true, {10, 14}, "pressed with focus"},
    };
    const int cx = 156, cy = 60;
    const char kCaption[] = "&Go";
    SetWindowTextA(m_services.hRemove, kCaption);
    HICON hIcon = reinterpret_cast<HICON>(SendMessageA(m_services.hRemove, BM_GETIMAGE, IMAGE_ICON, 0));
    ASSERT_TRUE(hIcon != NULL);
    const test::Legend legend = IconButtonLegend();

    for (const Row& row : rows) {
        FocusRemove(row.focus);
        Canvas canvas(cx, cy, kBack);
        DrawRemove(canvas.dc(), cx, cy, row.pressed);

        Canvas expected(cx, cy, GetSysColor(COLOR_BTNFACE));
        DrawIcon(expected.dc(), row.icon.x, row.icon.y, hIcon);
        RECT work = {0, 0, cx, cy};
        if (row.focus) {
            for (int y = 0; y < cy; ++y) {
                for (int x = 0; x < cx; ++x) {
                    if (x == 0 || y == 0 || x == cx - 1 || y == cy - 1) SetPixel(expected.dc(), x, y, RGB(0, 0, 0));
                }
            }
            InflateRect(&work, -1, -1);
        }
        for (int y = work.top; y < work.bottom; ++y) {
            for (int x = work.left; x < work.right; ++x) {
                COLORREF color = 0;
                if (row.pressed ? PressedEdgeAt(work, x, y, &color) : RaisedEdgeAt(work, x, y, &color)) {
                    SetPixel(expected.dc(), x, y, color);
                }
            }
        }
        if (row.focus) {
            RECT rcFocus = {4, 4, cx - 4, cy - 4};
            DrawFocusRect(expected.dc(), &rcFocus);
        }

        // The caption's box: from the caption rectangle's top-left corner, as wide and high as
        // the platform measures the caption.
        SIZE text = {0, 0};
        GetTextExtentPointA(canvas.dc(), kCaption, 3, &text);
        const int d = row.pressed ? 0 : -1;
        const int centre = (work.top + work.bottom) >> 1;
        const int textLeft = 57 + d;
        const int textTop = centre - (text.cy >> 1) + d;
        std::string actualPicture = canvas.Picture(legend);
        std::string expectedPicture = expected.Picture(legend);
        for (int y = textTop; y < textTop + text.cy; ++y) {
            for (int x = textLeft; x < textLeft + text.cx; ++x) {
                size_t i = static_cast<size_t>(y) * (cx + 1) + static_cast<size_t>(x);
                actualPicture[i] = expectedPicture[i] = '~';
            }
        }
        EXPECT_EQ(expectedPicture, actualPicture) << row.what;
    }
}

}  // namespace
