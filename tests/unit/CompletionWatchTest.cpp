// The completion watch and the finish: how a run ends once the installer has been started.
#include <gtest/gtest.h>

#include "CompletionWatch.h"
#include "LauncherHarness.h"
#include "StandInEngine.h"

namespace {

using test::EngineScript;
using test::WorldTest;

class CompletionWatchTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        test::InstallEngine(test::kMediaDir, m_engine);
    }
    // Starts a launcher and waits until its completion watch is blocked on the event.
    DWORD StartWaitingLauncher(test::LauncherOptions o = test::LauncherOptions()) {
        DWORD pid = test::StartLauncher(o);
        EXPECT_TRUE(world().WaitUntil([&]() { return world().ThreadsWaiting(pid) == 1; }))
            << "the launcher never waited for the completion event";
        return pid;
    }
    EngineScript m_engine = [] {
        EngineScript e;
        e.completion = EngineScript::kSetWhenTold;
        return e;
    }();
};

TEST_F(CompletionWatchTest, EventSetWhileWaitingEndsTheRunNormally) {
    bool exitInstanceRan = false;
    test::LauncherOptions o;
    o.atEnd = [&](CSetupApp& app) { exitInstanceRan = app.m_pLauncherWnd == nullptr; };
    DWORD pid = StartWaitingLauncher(o);
    EXPECT_FALSE(world().ProcessEnded(pid));
    ASSERT_TRUE(test::TellEngine());
    UINT code = 99;
    ASSERT_TRUE(test::WaitLauncher(pid, &code));
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(exitInstanceRan);
}

TEST_F(CompletionWatchTest, ProgramFileGoneWhenTheEventComesEndsWithCodeOne) {
    bool exitInstanceRan = false;
    test::LauncherOptions o;
    o.atEnd = [&](CSetupApp&) { exitInstanceRan = true; };
    DWORD pid = StartWaitingLauncher(o);
    world().RemoveFile(test::kSetupExe);  // the medium was taken out
    ASSERT_TRUE(test::TellEngine());
    UINT code = 99;
    ASSERT_TRUE(test::WaitLauncher(pid, &code));
    EXPECT_EQ(1u, code);
    // Ended at once: the quit command never reached the loop, so the framework's shut-down did
    // not run.
    EXPECT_FALSE(exitInstanceRan);
}

TEST_F(CompletionWatchTest, AnyProcessThatKnowsTheNameEndsAWaitingLauncher) {
    DWORD pid = StartWaitingLauncher();
    ASSERT_TRUE(world().SetNamedEvent("KVQ_ORLOSETUPCOMPLETE"));
    UINT code = 99;
    ASSERT_TRUE(test::WaitLauncher(pid, &code));
    EXPECT_EQ(0u, code);
}

TEST_F(CompletionWatchTest, NewLaunchReleasesAnEarlierWaitingLauncher) {
    DWORD first = StartWaitingLauncher();
    DWORD second = test::StartLauncher(test::LauncherOptions());
    UINT code = 99;
    ASSERT_TRUE(test::WaitLauncher(first, &code)) << "the earlier launcher was not released";
    EXPECT_EQ(0u, code);
    // The new launcher waits for its own engine.
    ASSERT_TRUE(world().WaitUntil([&]() { return world().ThreadsWaiting(second) == 1; }));
    EXPECT_FALSE(world().ProcessEnded(second));
    ASSERT_TRUE(test::TellEngine());
    ASSERT_TRUE(test::WaitLauncher(second, &code));
    EXPECT_EQ(0u, code);
}

TEST_F(CompletionWatchTest, EngineThatSetsAtOnceEndsTheRunWhateverTheOrder) {
    // The set may come before the watch waits (it stays pending) or after: the run ends either way.
    EngineScript e;
    e.completion = EngineScript::kSetAtOnce;
    test::InstallEngine(test::kMediaDir, e);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(0u, test::RunLauncher("")) << "run " << i;
}

// The watch itself, run on a thread of a simulated launcher process.
class WatchThreadTest : public WorldTest {
protected:
    // Runs fnWorkerThread(pParam) as a simulated program of its own; returns its process id.
    DWORD StartWatch() {
        return world().StartProcess(test::LauncherProcess(), []() { return static_cast<int>(fnWorkerThread(NULL)); });
    }
};

TEST_F(WatchThreadTest, PendingSetIsConsumedByTheNextWaitAtOnce) {
    winsim::World::ProcessScope scope(test::LauncherProcess());
    HANDLE h = CreateEventA(NULL, FALSE, FALSE, "KVQ_ORLOSETUPCOMPLETE");
    SetEvent(h);  // nobody waits yet
    EXPECT_EQ(1u, fnWorkerThread(NULL));  // returns at once: the set was pending
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(h, 0)) << "the wait consumed the set";
    CloseHandle(h);
}

TEST_F(WatchThreadTest, NoEventMeansNoWaitAndNullParameterFinishesNothing) {
    winsim::World::ProcessScope scope(test::LauncherProcess());
    EXPECT_EQ(1u, fnWorkerThread(NULL));
}

TEST_F(WatchThreadTest, NoEventFinishesTheRunAtOnce) {
    winsim::World::ProcessScope scope(test::LauncherProcess());
    CSetupApp app;
    char cmd[] = "";
    app.m_lpCmdLine = cmd;
    app.m_nThreadID = GetCurrentThreadId();
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(CS_PARENTDC), "", WS_POPUP, 0, 0, 10, 10, GetDesktopWindow(), NULL));
    app.m_pMainWnd = &wnd;
    EXPECT_EQ(1u, fnWorkerThread(&app));
    std::vector<UINT> posted = world().PostedMessages(wnd.m_hWnd);
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND), posted[0]);
    app.m_pMainWnd = nullptr;
}

TEST_F(WatchThreadTest, OneSetReleasesExactlyOneOfTwoWatches) {
    HANDLE keep = NULL;
    winsim::World::ProcessScope scope(test::LauncherProcess());
    keep = CreateEventA(NULL, FALSE, FALSE, "KVQ_ORLOSETUPCOMPLETE");
    DWORD a = StartWatch(), b = StartWatch();
    ASSERT_TRUE(world().WaitUntil([&]() { return world().ThreadsWaiting(a) == 1 && world().ThreadsWaiting(b) == 1; }));
    SetEvent(keep);
    ASSERT_TRUE(world().WaitUntil([&]() { return world().ProcessEnded(a) || world().ProcessEnded(b); }));
    // Give a wrongly released second watch every chance to show up.
    Sleep(50);
    EXPECT_NE(world().ProcessEnded(a), world().ProcessEnded(b)) << "one set must release exactly one watch";
    SetEvent(keep);
    EXPECT_TRUE(world().WaitUntil([&]() { return world().ProcessEnded(a) && world().ProcessEnded(b); }));
    CloseHandle(keep);
}

}  // namespace
