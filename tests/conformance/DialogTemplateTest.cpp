// Dialogs built from the launcher's two templates: the controls, their ids, classes, styles and
// texts, as the dialog manager creates them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "resource.h"

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

struct Control {
    int id;
    std::string className;
    std::string text;
    DWORD style;
};

std::vector<Control> Controls(HWND hDlg) {
    std::vector<Control> out;
    for (HWND h = GetWindow(hDlg, GW_CHILD); h != NULL; h = GetWindow(h, GW_HWNDNEXT)) {
        char cls[64] = "", text[256] = "";
        GetClassNameA(h, cls, sizeof cls);
        GetWindowTextA(h, text, sizeof text);
        out.push_back({GetDlgCtrlID(h), cls, text, static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE))});
    }
    return out;
}

struct Expected {
    int id;
    const char* className;
    const char* text;
    DWORD styleBits;   // must all be set
    bool visible;
};

void ExpectControls(HWND hDlg, const std::vector<Expected>& expected) {
    std::vector<Control> controls = Controls(hDlg);
    ASSERT_EQ(expected.size(), controls.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Expected& e = expected[i];
        const Control& c = controls[i];
        if (e.id != -1) {
            EXPECT_EQ(e.id, c.id) << "control " << i;
        }
        EXPECT_EQ(0, lstrcmpiA(e.className, c.className.c_str())) << "control " << i << " is a " << c.className;
        EXPECT_EQ(e.text, c.text) << "control " << i;
        EXPECT_EQ(e.styleBits, c.style & e.styleBits) << "control " << i;
        EXPECT_EQ(e.visible, (c.style & WS_VISIBLE) != 0) << "control " << i;
    }
}

TEST(DialogTemplates, ServicesDialog) {
    HWND hDlg = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_SERVICES), NULL, PlainDialogProc, 0);
    ASSERT_NE(nullptr, hDlg);
    char title[64] = "";
    GetWindowTextA(hDlg, title, sizeof title);
    EXPECT_STREQ("Corvane Services", title);
    DWORD style = static_cast<DWORD>(GetWindowLongA(hDlg, GWL_STYLE));
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU), style & (WS_POPUP | WS_CAPTION | WS_SYSMENU));
    EXPECT_NE(0u, static_cast<DWORD>(GetWindowLongA(hDlg, GWL_EXSTYLE)) & WS_EX_APPWINDOW);
    const DWORD kButton = WS_CHILD | WS_TABSTOP | BS_MULTILINE | BS_ICON | BS_OWNERDRAW;
    ExpectControls(hDlg, {
                             {IDC_REMOVE_SERVICES, "Button", "&Remove Services", kButton, true},
                             {IDCANCEL, "Button", "&Quit Applet", kButton, true},
                             {-1, "Static", "Uninstall existing Corvane services.", WS_CHILD | WS_GROUP, true},
                             {-1, "Static", "Quit this applet.", WS_CHILD | WS_GROUP, true},
                         });
    EXPECT_EQ(NULL, GetDlgItem(hDlg, IDC_SETUP_SERVICES)) << "the shipped layout has no control 1000";
    DestroyWindow(hDlg);
}

TEST(DialogTemplates, BrowseForSetup) {
    HWND hDlg = CreateDialogParamA(GetModuleHandleA(NULL), "BROWSEFORSETUP", NULL, PlainDialogProc, 0);
    ASSERT_NE(nullptr, hDlg);
    char title[64] = "";
    GetWindowTextA(hDlg, title, sizeof title);
    EXPECT_STREQ("Browse for Corvane Setup", title);
    ExpectControls(hDlg, {
                             {-1, "Static", "Please select the folder where the Corvane installation program is located.", WS_CHILD, true},
                             {1088, "Static", "", WS_CHILD | SS_NOPREFIX | WS_GROUP, true},
                             {1121, "ListBox", "", WS_CHILD | WS_VSCROLL | WS_TABSTOP, true},
                             {1091, "Static", "Dri&ves:", WS_CHILD, true},
                             {1137, "ComboBox", "", WS_CHILD, true},
                             {IDOK, "Button", "OK", WS_CHILD | BS_DEFPUSHBUTTON, true},
                             {IDCANCEL, "Button", "Cancel", WS_CHILD, true},
                             {1152, "Edit", "", WS_CHILD, false},
                             {1120, "ListBox", "", WS_CHILD, false},
                         });
    DestroyWindow(hDlg);
}

}  // namespace
