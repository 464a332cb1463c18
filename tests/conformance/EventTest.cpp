// Named auto-reset events as the completion protocol relies on them.
#include <gtest/gtest.h>

#include <windows.h>

namespace {

const char kName[] = "CORVANE_CONFORMANCE_EVENT";

DWORD WINAPI WaitFiveSeconds(LPVOID p) { return WaitForSingleObject(static_cast<HANDLE>(p), 5000); }

TEST(NamedEvent, OpenFindsOnlyAnExistingEvent) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(NULL, OpenEventA(EVENT_ALL_ACCESS, FALSE, kName));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
    HANDLE h = CreateEventA(NULL, FALSE, FALSE, kName);
    ASSERT_NE(nullptr, h);
    HANDLE o = OpenEventA(EVENT_ALL_ACCESS, FALSE, kName);
    EXPECT_NE(nullptr, o);
    // The event lives while any handle is open.
    CloseHandle(h);
    HANDLE again = OpenEventA(EVENT_ALL_ACCESS, FALSE, kName);
    EXPECT_NE(nullptr, again);
    CloseHandle(again);
    CloseHandle(o);
    EXPECT_EQ(NULL, OpenEventA(EVENT_ALL_ACCESS, FALSE, kName)) << "gone with its last handle";
}

TEST(NamedEvent, CreatingAnExistingNameGivesTheSameEventInItsState) {
    HANDLE first = CreateEventA(NULL, FALSE, TRUE, kName);  // set
    ASSERT_NE(nullptr, first);
    SetLastError(0xdeadbeef);
    HANDLE second = CreateEventA(NULL, FALSE, FALSE, kName);  // asks for "not set": ignored
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(second, 0)) << "still set";
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(first, 0)) << "the wait consumed it";
    CloseHandle(second);
    CloseHandle(first);
}

TEST(NamedEvent, ASetWithNoWaiterStaysPendingForOneWait) {
    HANDLE h = CreateEventA(NULL, FALSE, FALSE, kName);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(h, 0));
    SetEvent(h);
    SetEvent(h);  // a second set does not count twice
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(h, 0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(h, 0));
    CloseHandle(h);
}

TEST(NamedEvent, OneSetReleasesOneOfTwoWaiters) {
    HANDLE h = CreateEventA(NULL, FALSE, FALSE, kName);
    ASSERT_NE(nullptr, h);
    HANDLE a = CreateThread(NULL, 0, WaitFiveSeconds, h, 0, NULL);
    HANDLE b = CreateThread(NULL, 0, WaitFiveSeconds, h, 0, NULL);
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    Sleep(200);  // both are waiting by now
    SetEvent(h);
    DWORD doneA = WaitForSingleObject(a, 1000);
    DWORD doneB = WaitForSingleObject(b, doneA == WAIT_OBJECT_0 ? 300 : 1000);
    EXPECT_NE(doneA == WAIT_OBJECT_0, doneB == WAIT_OBJECT_0) << "exactly one waiter is released";
    SetEvent(h);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(a, 2000));
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(b, 2000));
    DWORD codeA = 99, codeB = 99;
    GetExitCodeThread(a, &codeA);
    GetExitCodeThread(b, &codeB);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), codeA) << "released by a set, not by its time limit";
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), codeB);
    CloseHandle(a);
    CloseHandle(b);
    CloseHandle(h);
}

}  // namespace
