// The message queue as the launcher's run relies on it: a quit command posted during start-up
// waits in the queue, and the quit request that destroying the main window makes is seen only
// after the messages posted before it.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

const char kClass[] = "CorvaneQueueTest";

TEST(MessageQueue, QuitRequestComesAfterThePostedMessages) {
    WNDCLASSA wc = WNDCLASSA();
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, kClass, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, GetModuleHandleA(NULL), NULL);
    ASSERT_NE(nullptr, hwnd);

    PostMessageA(hwnd, WM_COMMAND, 666, 0);
    PostQuitMessage(7);
    PostMessageA(hwnd, WM_COMMAND, 667, 0);  // posted after the quit request, still seen first

    std::vector<WPARAM> seen;
    MSG msg;
    BOOL more;
    while ((more = GetMessageA(&msg, NULL, 0, 0)) != 0 && more != -1) {
        if (msg.hwnd == hwnd && msg.message == WM_COMMAND) seen.push_back(msg.wParam);
    }
    EXPECT_EQ((std::vector<WPARAM>{666, 667}), seen);
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_FALSE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request is seen once";

    DestroyWindow(hwnd);
    UnregisterClassA(kClass, GetModuleHandleA(NULL));
}

}  // namespace
