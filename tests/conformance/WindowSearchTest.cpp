// Window search as the launcher relies on it: top-level windows by class and title, hidden ones
// included, names compared without regard to letter case.
#include <gtest/gtest.h>

#include <windows.h>

namespace {

const char kClass[] = "CorvaneSearchTest";

HWND MakeWindow(const char* title, DWORD style) {
    WNDCLASSA wc = WNDCLASSA();
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    return CreateWindowExA(0, kClass, title, style, 0, 0, 10, 10, NULL, NULL, GetModuleHandleA(NULL), NULL);
}

TEST(WindowSearch, ClassAndTitleIgnoreLetterCaseAndHiddenWindowsCount) {
    HWND hidden = MakeWindow("Corvane Search Window", WS_POPUP);
    ASSERT_NE(nullptr, hidden);
    struct Row {
        const char* className;
        const char* title;
        bool found;
        const char* why;
    } rows[] = {
        {kClass, "Corvane Search Window", true, "exact class and title, window hidden"},
        {"CORVANESEARCHTEST", nullptr, true, "class name in other letter case"},
        {kClass, "corvane search WINDOW", true, "title in other letter case"},
        {kClass, "Corvane Search", false, "a title must match whole"},
        {"CorvaneSearchTes", nullptr, false, "a class must match whole"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.found, FindWindowExA(NULL, NULL, row.className, row.title) == hidden) << row.why;
    }
    DestroyWindow(hidden);
    EXPECT_EQ(NULL, FindWindowExA(NULL, NULL, kClass, NULL)) << "a destroyed window is not found";
    UnregisterClassA(kClass, GetModuleHandleA(NULL));
}

}  // namespace
