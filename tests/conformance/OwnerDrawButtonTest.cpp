// What an owner-drawn button asks of its parent: WM_DRAWITEM, at once, whenever it is painted,
// pressed or released, or gains or loses the focus, describing the button and its state.
#include <gtest/gtest.h>

#include <vector>

#include "Platform.h"

namespace {

const int kFirstId = 1001;
const int kSecondId = 2;
const char kParentClass[] = "CorvaneOwnerDrawParent";

struct DrawRecord {
    DRAWITEMSTRUCT item;
    COLORREF textColor;
    COLORREF bkColor;
};

// What the parent was asked, in order.
std::vector<DrawRecord> g_draws;
std::vector<WPARAM> g_commands;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        g_draws.push_back({*dis, GetTextColor(dis->hDC), GetBkColor(dis->hDC)});
        return TRUE;
    }
    case WM_COMMAND:
        g_commands.push_back(wParam);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

class OwnerDrawButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_draws.clear();
        g_commands.clear();
        WNDCLASSA wc = WNDCLASSA();
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = kParentClass;
        RegisterClassA(&wc);
        m_hParent = CreateWindowExA(0, kParentClass, "Owner-drawn buttons", WS_POPUP | WS_VISIBLE, 10, 10, 300,
                                    120, NULL, NULL, GetModuleHandleA(NULL), NULL);
        ASSERT_TRUE(m_hParent != NULL);
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
        m_hFirst = CreateWindowExA(0, "Button", "&First", style, 5, 5, 100, 40, m_hParent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId)), GetModuleHandleA(NULL), NULL);
        m_hSecond = CreateWindowExA(0, "Button", "&Second", style, 5, 60, 90, 30, m_hParent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSecondId)), GetModuleHandleA(NULL), NULL);
        ASSERT_TRUE(m_hFirst != NULL);
        ASSERT_TRUE(m_hSecond != NULL);
        SetFocus(m_hSecond);
        g_draws.clear();
    }
    void TearDown() override {
        if (m_hParent != NULL) DestroyWindow(m_hParent);
        UnregisterClassA(kParentClass, GetModuleHandleA(NULL));
    }

    // The requests made since the last call, and forgets them.
    std::vector<DrawRecord> Take() {
        std::vector<DrawRecord> draws;
        draws.swap(g_draws);
        return draws;
    }

    HWND m_hParent = NULL;
    HWND m_hFirst = NULL;
    HWND m_hSecond = NULL;
};

// The state bits the launcher's painting reads; newer systems add keyboard-cue bits
// (ODS_NOACCEL, ODS_NOFOCUSRECT) that are left out here.
const UINT kStateBits = ODS_SELECTED | ODS_FOCUS | ODS_DISABLED;

void ExpectRequest(const DrawRecord& r, HWND hButton, UINT id, int cx, int cy, UINT action, UINT state) {
    EXPECT_EQ(static_cast<UINT>(ODT_BUTTON), r.item.CtlType);
    EXPECT_EQ(id, r.item.CtlID);
    EXPECT_EQ(hButton, r.item.hwndItem);
    EXPECT_TRUE(r.item.hDC != NULL);
    EXPECT_EQ(action, r.item.itemAction);
    EXPECT_EQ(state, r.item.itemState & kStateBits);
    EXPECT_EQ(0, r.item.rcItem.left);
    EXPECT_EQ(0, r.item.rcItem.top);
    EXPECT_EQ(cx, r.item.rcItem.right);
    EXPECT_EQ(cy, r.item.rcItem.bottom);
}

TEST_F(OwnerDrawButtonTest, PressAndReleaseAskForTheSelectionState) {
    SendMessageA(m_hFirst, BM_SETSTATE, TRUE, 0);
    auto draws = Take();
    ASSERT_EQ(1u, draws.size());
    ExpectRequest(draws[0], m_hFirst, kFirstId, 100, 40, ODA_SELECT, ODS_SELECTED);

    // Asked again even when the state does not change.
    SendMessageA(m_hFirst, BM_SETSTATE, TRUE, 0);
    draws = Take();
    ASSERT_EQ(1u, draws.size());
    ExpectRequest(draws[0], m_hFirst, kFirstId, 100, 40, ODA_SELECT, ODS_SELECTED);

    SendMessageA(m_hFirst, BM_SETSTATE, FALSE, 0);
    draws = Take();
    ASSERT_EQ(1u, draws.size());
    ExpectRequest(draws[0], m_hFirst, kFirstId, 100, 40, ODA_SELECT, 0);
}

TEST_F(OwnerDrawButtonTest, AFocusChangeAsksBothButtons) {
    SetFocus(m_hFirst);
    ASSERT_EQ(m_hFirst, GetFocus());
    auto draws = Take();
    ASSERT_EQ(2u, draws.size());
    ExpectRequest(draws[0], m_hSecond, kSecondId, 90, 30, ODA_FOCUS, 0);
    ExpectRequest(draws[1], m_hFirst, kFirstId, 100, 40, ODA_FOCUS, ODS_FOCUS);

    SendMessageA(m_hFirst, BM_SETSTATE, TRUE, 0);
    draws = Take();
    ASSERT_EQ(1u, draws.size());
    ExpectRequest(draws[0], m_hFirst, kFirstId, 100, 40, ODA_SELECT, ODS_SELECTED | ODS_FOCUS);
}

TEST_F(OwnerDrawButtonTest, APaintAsksForTheWholeButton) {
    InvalidateRect(m_hFirst, NULL, TRUE);
    UpdateWindow(m_hFirst);
    auto draws = Take();
    ASSERT_EQ(1u, draws.size());
    ExpectRequest(draws[0], m_hFirst, kFirstId, 100, 40, ODA_DRAWENTIRE, 0);
    // The context comes with the colours of a button's parent's default handling.
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), draws[0].textColor);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), draws[0].bkColor);
}

TEST_F(OwnerDrawButtonTest, TheMouseHoldsItDownAndClicksOnRelease) {
    SendMessageA(m_hFirst, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(m_hFirst, GetFocus());
    auto draws = Take();
    ASSERT_FALSE(draws.empty());
    ExpectRequest(draws.back(), m_hFirst, kFirstId, 100, 40, ODA_SELECT, ODS_SELECTED | ODS_FOCUS);
    EXPECT_TRUE(g_commands.empty());

    SendMessageA(m_hFirst, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    draws = Take();
    ASSERT_FALSE(draws.empty());
    ExpectRequest(draws.back(), m_hFirst, kFirstId, 100, 40, ODA_SELECT, ODS_FOCUS);
    ASSERT_EQ(1u, g_commands.size());
    EXPECT_EQ(MAKEWPARAM(kFirstId, BN_CLICKED), g_commands[0]);
}

}  // namespace
