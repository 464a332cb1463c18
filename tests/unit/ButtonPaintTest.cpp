// The Services dialog's painting: its owner-drawn icon buttons drawn by OnDrawItem into a
// memory DC and read back (edges, focus marks, icon and caption positions, ignored requests,
// drawing objects on every way out), the minimised dialog's icon, the drag cursor, and the
// buttons as the system has them painted while the applet runs.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ButtonPictures.h"
#include "Canvas.h"
#include "LauncherHarness.h"
#include "ModelessServicesDlg.h"
#include "ServicesDlg.h"
#include "winsim_gdi_view.h"

namespace {

using test::Canvas;
using test::Lines;

// A colour the painting never uses: what a request leaves untouched.
const COLORREF kBack = RGB(0x33, 0x66, 0x99);

test::Legend ButtonLegend() { return test::ButtonLegend(kBack); }

using test::kPressed8x6;
using test::kPressedFocused12x10;
using test::kRaised12x10;
using test::kRaised8x6;
using test::kRaisedFocused12x10;
using test::WithFocusDots;

// A Services dialog made modelessly from its template, its buttons' icons stored as its
// initialisation stores them, on a test thread that runs as the launcher's process.
class ButtonPaintTest : public test::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        m_scope.reset(new winsim::World::ProcessScope(test::LauncherProcess()));
        ASSERT_TRUE(m_services.Create());
    }
    void TearDown() override {
        m_services.Destroy();
        m_scope.reset();
        WorldTest::TearDown();
    }

    void GiveFocus(bool toRemove) { SetFocus(toRemove ? m_services.hRemove : m_services.hQuit); }

    // Asks the dialog to draw control nID into hdc as the system would, for rcItem.
    void Draw(int nID, HDC hdc, const RECT& rcItem, UINT itemState) {
        DRAWITEMSTRUCT dis = DRAWITEMSTRUCT();
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = static_cast<UINT>(nID);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = itemState;
        dis.hwndItem = GetDlgItem(m_services.hDlg, nID);
        dis.hDC = hdc;
        dis.rcItem = rcItem;
        m_services.dlg->OnDrawItem(nID, &dis);
    }

    // The picture of "&Remove Services" drawn into a canvas of exactly rcItem's size, without
    // its icon (the caption falls right of so small a picture).
    std::string EdgePicture(int cx, int cy, bool pressed, bool focus, UINT extraState = 0) {
        SendMessageA(m_services.hRemove, BM_SETIMAGE, IMAGE_ICON, 0);
        GiveFocus(focus);
        Canvas canvas(cx, cy, kBack);
        Draw(IDC_REMOVE_SERVICES, canvas.dc(), {0, 0, cx, cy}, (pressed ? ODS_SELECTED : 0) | extraState);
        return canvas.Picture(ButtonLegend());
    }

    std::vector<winsim::DrawnIcon> IconsDrawnInto(HDC hdc) {
        std::vector<winsim::DrawnIcon> out;
        for (const auto& d : winsim::DrawnIcons()) {
            if (d.hdc == hdc) out.push_back(d);
        }
        return out;
    }
    std::vector<winsim::DrawnText> TextsDrawnInto(HDC hdc) {
        std::vector<winsim::DrawnText> out;
        for (const auto& d : winsim::DrawnTexts()) {
            if (d.hdc == hdc) out.push_back(d);
        }
        return out;
    }

    std::unique_ptr<winsim::World::ProcessScope> m_scope;
    test::ModelessServicesDlg m_services;
};

TEST_F(ButtonPaintTest, EdgesWithoutFocus) {
    EXPECT_EQ(Lines(kRaised8x6), EdgePicture(8, 6, false, false)) << "raised";
    EXPECT_EQ(Lines(kPressed8x6), EdgePicture(8, 6, true, false)) << "pressed: a flat shadow frame";
}

TEST_F(ButtonPaintTest, EdgesInsideTheFocusFrameWithTheDottedRectangle) {
    struct Row {
        bool pressed;
        const std::vector<std::string>& before;
        const char* what;
    } rows[] = {
        {false, kRaisedFocused12x10, "raised: the right and bottom sides are two pixels of black"},
        {true, kPressedFocused12x10, "pressed"},
    };
    for (const Row& row : rows) {
        SendMessageA(m_services.hRemove, BM_SETIMAGE, IMAGE_ICON, 0);
        SetFocus(m_services.hRemove);
        Canvas canvas(12, 10, kBack);
        Draw(IDC_REMOVE_SERVICES, canvas.dc(), {0, 0, 12, 10}, row.pressed ? ODS_SELECTED : 0);
        EXPECT_EQ(Lines(WithFocusDots(row.before)), canvas.Picture(ButtonLegend())) << row.what;
        // Inverting the focus rectangle once more gives the picture from before it.
        RECT rcFocus = {4, 4, 8, 6};
        DrawFocusRect(canvas.dc(), &rcFocus);
        EXPECT_EQ(Lines(row.before), canvas.Picture(ButtonLegend())) << row.what << ", before the focus rectangle";
    }
}

TEST_F(ButtonPaintTest, FocusIsTheSystemsNotTheRequestsFlag) {
    EXPECT_EQ(Lines(kRaised12x10), EdgePicture(12, 10, false, false, ODS_FOCUS))
        << "a request that claims the focus for a button without it draws no focus marks";
    EXPECT_EQ(Lines(WithFocusDots(kRaisedFocused12x10)), EdgePicture(12, 10, false, true))
        << "a request that does not mention the focus still draws it for the focused button";
}

TEST_F(ButtonPaintTest, RequestsForSelectionOrFocusAloneRepaintTheWholeButton) {
    for (UINT action : {static_cast<UINT>(ODA_SELECT), static_cast<UINT>(ODA_FOCUS)}) {
        SendMessageA(m_services.hRemove, BM_SETIMAGE, IMAGE_ICON, 0);
        SetFocus(m_services.hQuit);
        Canvas canvas(8, 6, kBack);
        DRAWITEMSTRUCT dis = DRAWITEMSTRUCT();
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = IDC_REMOVE_SERVICES;
        dis.itemAction = action;
        dis.hwndItem = m_services.hRemove;
        dis.hDC = canvas.dc();
        dis.rcItem = {0, 0, 8, 6};
        m_services.dlg->OnDrawItem(IDC_REMOVE_SERVICES, &dis);
        EXPECT_EQ(Lines(kRaised8x6), canvas.Picture(ButtonLegend())) << "itemAction " << action;
    }
}

// Where icon and caption go, with the caption 13 pixels high; and that every pen and brush
// made for the request is gone, and the context holds its own pen and brush again, after it.
TEST_F(ButtonPaintTest, IconAndCaptionPositions) {
    struct Row {
        RECT rcItem;
        bool pressed;
        bool focus;
        POINT icon;
        RECT caption;
        const char* what;
    } rows[] = {
        {{0, 0, 156, 60}, false, false, {9, 13}, {56, 23, 156, 60}, "raised: one pixel up and left"},
        {{0, 0, 156, 60}, true, false, {10, 14}, {57, 24, 156, 60}, "pressed"},
        {{0, 0, 156, 60}, false, true, {9, 13}, {56, 23, 155, 59}, "raised with focus: right and bottom from the "
                                                                     "working rectangle (1, 1, 155, 59)"},
        {{0, 0, 156, 60}, true, true, {10, 14}, {57, 24, 155, 59}, "pressed with focus"},
        {{0, 0, 156, 61}, false, false, {9, 13}, {56, 23, 156, 61}, "odd top + bottom: the centre is 30, not 31"},
        {{20, 5, 120, 46}, false, false, {9, 8}, {56, 18, 120, 46}, "left edges from the context's origin, not the "
                                                                     "item's; the centre from its top and bottom"},
    };
    HICON hIcon = reinterpret_cast<HICON>(SendMessageA(m_services.hRemove, BM_GETIMAGE, IMAGE_ICON, 0));
    ASSERT_TRUE(hIcon != NULL);
    for (const Row& row : rows) {
        GiveFocus(row.focus);
        Canvas canvas(160, 64, kBack);
        HGDIOBJ hPen = GetCurrentObject(canvas.dc(), OBJ_PEN);
        HGDIOBJ hBrush = GetCurrentObject(canvas.dc(), OBJ_BRUSH);
        int live = winsim::LiveGdiObjects();
        winsim::ForgetDrawing();

        Draw(IDC_REMOVE_SERVICES, canvas.dc(), row.rcItem, row.pressed ? ODS_SELECTED : 0);

        auto icons = IconsDrawnInto(canvas.dc());
        ASSERT_EQ(1u, icons.size()) << row.what;
        EXPECT_EQ(hIcon, icons[0].icon) << row.what;
        EXPECT_EQ(row.icon.x, icons[0].x) << row.what;
        EXPECT_EQ(row.icon.y, icons[0].y) << row.what;
        auto texts = TextsDrawnInto(canvas.dc());
        ASSERT_EQ(1u, texts.size()) << row.what;
        EXPECT_EQ("&Remove Services", texts[0].text) << row.what;
        EXPECT_EQ(0u, texts[0].format) << row.what;
        EXPECT_EQ(row.caption.left, texts[0].rect.left) << row.what;
        EXPECT_EQ(row.caption.top, texts[0].rect.top) << row.what;
        EXPECT_EQ(row.caption.right, texts[0].rect.right) << row.what;
        EXPECT_EQ(row.caption.bottom, texts[0].rect.bottom) << row.what;

        EXPECT_EQ(live, winsim::LiveGdiObjects()) << row.what;
        EXPECT_EQ(hPen, GetCurrentObject(canvas.dc(), OBJ_PEN)) << row.what;
        EXPECT_EQ(hBrush, GetCurrentObject(canvas.dc(), OBJ_BRUSH)) << row.what;
    }
}

TEST_F(ButtonPaintTest, AButtonWithoutAnIconStillHasItsCaption) {
    SendMessageA(m_services.hRemove, BM_SETIMAGE, IMAGE_ICON, 0);
    SetFocus(m_services.hQuit);
    Canvas canvas(160, 64, kBack);
    winsim::ForgetDrawing();
    Draw(IDC_REMOVE_SERVICES, canvas.dc(), {0, 0, 156, 60}, 0);
    EXPECT_TRUE(IconsDrawnInto(canvas.dc()).empty());
    auto texts = TextsDrawnInto(canvas.dc());
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(56, texts[0].rect.left);
    EXPECT_EQ(23, texts[0].rect.top);
    // Where the icon would be there is face.
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), canvas.At(9 + 16, 13 + 16));
}

TEST_F(ButtonPaintTest, TheIconButtonsAreDrawnWithTheirOwnIconAndCaption) {
    // A button 1000 does not exist in the template; given one, it is drawn like the others
    // (it never had an image stored, as the dialog stored its image before it existed).
    HWND hSetup = CreateWindowExA(0, "Button", "&Setup Services", WS_CHILD | BS_OWNERDRAW, 0, 0, 156, 60, m_services.hDlg,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SETUP_SERVICES)),
                                  GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(hSetup != NULL);
    struct Row {
        int nID;
        int nIDIcon;  // 0: none
        const char* caption;
    } rows[] = {
        {IDC_REMOVE_SERVICES, IDI_REMOVE_SERVICES, "&Remove Services"},
        {IDCANCEL, IDI_QUIT, "&Quit Applet"},
        {IDC_SETUP_SERVICES, 0, "&Setup Services"},
    };
    SetFocus(NULL);
    for (const Row& row : rows) {
        Canvas canvas(160, 64, kBack);
        winsim::ForgetDrawing();
        Draw(row.nID, canvas.dc(), {0, 0, 156, 60}, 0);
        auto icons = IconsDrawnInto(canvas.dc());
        if (row.nIDIcon != 0) {
            ASSERT_EQ(1u, icons.size()) << row.caption;
            EXPECT_EQ(LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(row.nIDIcon)), icons[0].icon) << row.caption;
        } else {
            EXPECT_TRUE(icons.empty()) << row.caption;
        }
        auto texts = TextsDrawnInto(canvas.dc());
        ASSERT_EQ(1u, texts.size()) << row.caption;
        EXPECT_EQ(row.caption, texts[0].text);
        EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), canvas.At(0, 0)) << row.caption;
        EXPECT_EQ(RGB(0, 0, 0), canvas.At(155, 59)) << row.caption;
    }
}

TEST_F(ButtonPaintTest, RequestsForOtherControlsDrawNothing) {
    // Owner-drawn buttons of other ids, so that those ids name controls of the dialog too.
    for (int nID : {IDOK, 1002}) {
        HWND hOther = CreateWindowExA(0, "Button", "&Other", WS_CHILD | BS_OWNERDRAW, 0, 0, 156, 60, m_services.hDlg,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(nID)), GetModuleHandleA(NULL), NULL);
        ASSERT_TRUE(hOther != NULL);
    }
    const int ids[] = {
        0,       // no id
        IDOK,    // a command the dialog knows; a button here
        3,       // next to IDCANCEL
        999,     // next to IDC_SETUP_SERVICES
        1002,    // next to IDC_REMOVE_SERVICES; a button here
        0xFFFF,  // the static texts
    };
    SetFocus(m_services.hRemove);
    for (int nID : ids) {
        Canvas canvas(160, 64, kBack);
        std::string untouched = canvas.Picture(ButtonLegend());
        int live = winsim::LiveGdiObjects();
        winsim::ForgetDrawing();
        // The record even names a real button: only the id counts.
        DRAWITEMSTRUCT dis = DRAWITEMSTRUCT();
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = static_cast<UINT>(nID);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = m_services.hRemove;
        dis.hDC = canvas.dc();
        dis.rcItem = {0, 0, 156, 60};
        m_services.dlg->OnDrawItem(nID, &dis);
        EXPECT_EQ(untouched, canvas.Picture(ButtonLegend())) << "id " << nID;
        EXPECT_TRUE(winsim::DrawnTexts().empty()) << "id " << nID;
        EXPECT_TRUE(winsim::DrawnIcons().empty()) << "id " << nID;
        EXPECT_EQ(live, winsim::LiveGdiObjects()) << "id " << nID;
    }
}

TEST_F(ButtonPaintTest, AnIconButtonIdWithoutItsControlDrawsNothing) {
    Canvas canvas(160, 64, kBack);
    std::string untouched = canvas.Picture(ButtonLegend());
    int live = winsim::LiveGdiObjects();
    Draw(IDC_SETUP_SERVICES, canvas.dc(), {0, 0, 156, 60}, 0);
    EXPECT_EQ(untouched, canvas.Picture(ButtonLegend()));
    EXPECT_EQ(live, winsim::LiveGdiObjects());
}

// When the system cannot make a pen or brush, the request ends with the class library's
// resource error, having deleted what it made and put the context's own pen and brush back.
TEST_F(ButtonPaintTest, AFailedPenOrBrushLeavesNothingBehind) {
    struct Row {
        bool pressed;
        bool focus;
        int madeBeforeFailure;
        const char* what;
    } rows[] = {
        {false, false, 0, "the face brush"},
        {false, true, 1, "the highlight pen, after the focus frame"},
        {false, false, 2, "the black pen, with the highlight pen selected"},
        {false, true, 3, "the shadow pen, with the black pen selected"},
        {true, true, 1, "the shadow brush of a pressed button"},
    };
    for (const Row& row : rows) {
        GiveFocus(row.focus);
        Canvas canvas(160, 64, kBack);
        HGDIOBJ hPen = GetCurrentObject(canvas.dc(), OBJ_PEN);
        HGDIOBJ hBrush = GetCurrentObject(canvas.dc(), OBJ_BRUSH);
        int live = winsim::LiveGdiObjects();
        winsim::RefuseGdiObjectsAfter(row.madeBeforeFailure);
        EXPECT_THROW(Draw(IDC_REMOVE_SERVICES, canvas.dc(), {0, 0, 156, 60}, row.pressed ? ODS_SELECTED : 0),
                     CResourceException)
            << row.what;
        winsim::RefuseGdiObjectsAfter(-1);
        EXPECT_EQ(live, winsim::LiveGdiObjects()) << row.what;
        EXPECT_EQ(hPen, GetCurrentObject(canvas.dc(), OBJ_PEN)) << row.what;
        EXPECT_EQ(hBrush, GetCurrentObject(canvas.dc(), OBJ_BRUSH)) << row.what;
    }
}

TEST_F(ButtonPaintTest, TheMinimisedDialogShowsItsIconCentred) {
    struct Row {
        int cx, cy;
        int x, y;
        const char* what;
    } rows[] = {
        {36, 36, 2, 2, "two pixels of background around a 32-pixel icon"},
        {33, 33, 1, 1, "an odd margin: the extra pixel goes right and below"},
        {30, 30, 0, 0, "(30 - 32 + 1) / 2 truncates to 0, not -1"},
        {0, 0, -15, -15, "no client area: -31 / 2 truncates to -15, not -16"},
    };
    ShowWindow(m_services.hDlg, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(m_services.hDlg));
    for (const Row& row : rows) {
        winsim::SetMinimizedClientSize(m_services.hDlg, row.cx, row.cy);
        winsim::ForgetDrawing();
        int live = winsim::LiveGdiObjects();
        SendMessageA(m_services.hDlg, WM_PAINT, 0, 0);
        auto icons = winsim::DrawnIcons();
        ASSERT_EQ(1u, icons.size()) << row.what;
        EXPECT_EQ(m_services.hDlg, icons[0].hwnd) << row.what;
        EXPECT_EQ(m_services.dlg->m_hIcon, icons[0].icon) << row.what;
        EXPECT_EQ(row.x, icons[0].x) << row.what;
        EXPECT_EQ(row.y, icons[0].y) << row.what;
        EXPECT_EQ(live, winsim::LiveGdiObjects()) << row.what << ": the paint context is ended";
    }
}

TEST_F(ButtonPaintTest, TheMinimisedIconLiesOnTheErasedBackground) {
    ShowWindow(m_services.hDlg, SW_MINIMIZE);
    winsim::SetMinimizedClientSize(m_services.hDlg, 36, 36);
    SendMessageA(m_services.hDlg, WM_PAINT, 0, 0);
    // The same icon drawn on the desktop's colour at (2, 2).
    Canvas expected(36, 36, GetSysColor(COLOR_BACKGROUND));
    DrawIcon(expected.dc(), 2, 2, m_services.dlg->m_hIcon);
    winsim::Picture painted = winsim::WindowPicture(m_services.hDlg);
    ASSERT_EQ(36, painted.cx);
    ASSERT_EQ(36, painted.cy);
    int differing = 0;
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 36; ++x) differing += painted.At(x, y) != expected.At(x, y);
    }
    EXPECT_EQ(0, differing);
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), painted.At(0, 0));
}

TEST_F(ButtonPaintTest, ARestoredDialogLeavesItsPaintingToTheSystem) {
    winsim::ForgetDrawing();
    int live = winsim::LiveGdiObjects();
    SendMessageA(m_services.hDlg, WM_PAINT, 0, 0);
    for (const auto& icon : winsim::DrawnIcons()) EXPECT_NE(m_services.hDlg, icon.hwnd);
    EXPECT_EQ(live, winsim::LiveGdiObjects());
}

TEST_F(ButtonPaintTest, TheDragCursorIsTheWindowIcon) {
    LRESULT bigIcon = SendMessageA(m_services.hDlg, WM_GETICON, ICON_BIG, 0);
    EXPECT_NE(0, bigIcon);
    EXPECT_EQ(bigIcon, reinterpret_cast<LRESULT>(m_services.dlg->OnQueryDragIcon()));
    // As the system asks for it, through the dialog procedure.
    EXPECT_EQ(bigIcon, SendMessageA(m_services.hDlg, WM_QUERYDRAGICON, 0, 0));
}

// The applet as it runs: the system paints its buttons when it shows and again whenever one
// is pressed or the focus moves, each time through the dialog's OnDrawItem.
class ServicesButtonsOnScreen : public test::WorldTest {};

TEST_F(ServicesButtonsOnScreen, ThePaintedButtonsFollowFocusAndPress) {

    struct Seen {
        COLORREF corner, inner;
    };
    struct Screen {
        Seen remove, quit;
    };
    std::vector<Screen> screens;  // after showing, after a press of Quit, after Quit took the focus
    bool removeCaptionDrawn = false;
    bool removeIconAtItsPlace = false;
    world().SetUser([&](const winsim::ModalView& view) {
        winsim::UserAnswer answer = test::Keys(view, {VK_ESCAPE});
        auto pressEscape = answer.act;
        HWND hDlg = view.hwnd;
        answer.act = [&, pressEscape, hDlg]() {
            HWND hRemove = GetDlgItem(hDlg, IDC_REMOVE_SERVICES);
            HWND hQuit = GetDlgItem(hDlg, IDCANCEL);
            auto look = [&]() {
                winsim::Picture r = winsim::WindowPicture(hRemove);
                winsim::Picture q = winsim::WindowPicture(hQuit);
                screens.push_back({{r.At(0, 0), r.At(1, 1)}, {q.At(0, 0), q.At(1, 1)}});
            };
            look();
            for (const auto& t : winsim::DrawnTexts()) {
                removeCaptionDrawn |= t.hwnd == hRemove && t.text == "&Remove Services";
            }
            HICON hRemoveIcon = LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDI_REMOVE_SERVICES));
            for (const auto& i : winsim::DrawnIcons()) {
                removeIconAtItsPlace |= i.hwnd == hRemove && i.icon == hRemoveIcon && i.x == 9 && i.y == 13;
            }
            SendMessageA(hQuit, BM_SETSTATE, TRUE, 0);
            look();
            SetFocus(hQuit);
            look();
            SendMessageA(hQuit, BM_SETSTATE, FALSE, 0);
            pressEscape();
        };
        return answer;
    });
    test::RunLauncher("-showdialog");

    const COLORREF H = GetSysColor(COLOR_BTNHIGHLIGHT), S = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF F = GetSysColor(COLOR_BTNFACE), K = RGB(0, 0, 0);
    ASSERT_EQ(3u, screens.size());
    // Shown: "&Remove Services" has the focus (its black frame), "&Quit Applet" is raised.
    EXPECT_EQ(K, screens[0].remove.corner);
    EXPECT_EQ(H, screens[0].remove.inner);
    EXPECT_EQ(H, screens[0].quit.corner);
    EXPECT_EQ(F, screens[0].quit.inner);
    EXPECT_TRUE(removeCaptionDrawn);
    EXPECT_TRUE(removeIconAtItsPlace);
    // Quit held down: its shadow frame.
    EXPECT_EQ(S, screens[1].quit.corner);
    EXPECT_EQ(F, screens[1].quit.inner);
    // The focus moves to Quit, still down: Remove loses its frame, Quit gains one.
    EXPECT_EQ(H, screens[2].remove.corner);
    EXPECT_EQ(K, screens[2].quit.corner);
    EXPECT_EQ(S, screens[2].quit.inner);
}

}  // namespace
