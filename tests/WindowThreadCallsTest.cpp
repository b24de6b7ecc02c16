// Calls from device threads onto the window's thread: they run there, in the order each thread
// made them, a waiting caller sees what its call did, and once the calls are ended nothing runs
// and no caller is left waiting.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <atomic>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "app/WindowThreadCalls.h"
#include "support/QtTestApplication.h"

namespace zarvin {
namespace {

// Runs the window thread's events until `done` holds.
template <typename Done>
void RunEventsUntil(Done done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

TEST(WindowThreadCalls, CallsFromThreadsRunOnTheWindowsThreadInEachThreadsOrder) {
    QObject window;
    WindowThreadCalls calls(window);
    constexpr size_t kThreads = 3;
    constexpr size_t kCallsEach = 50;
    // Written only on the window's thread; the threads read what their waited call wrote.
    std::vector<std::vector<size_t>> seen(kThreads);
    std::atomic<size_t> finishedThreads = 0;
    std::atomic<bool> wrongThread = false;
    std::vector<std::thread> threads;
    for (size_t t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (size_t i = 0; i < kCallsEach; ++i) {
                const auto call = [&, t, i] {
                    wrongThread = wrongThread || QThread::currentThread() != window.thread();
                    seen[t].push_back(i);
                };
                if (i % 5 == 4) {
                    EXPECT_TRUE(calls.RunAndWait(call));
                    EXPECT_EQ(seen[t].size(), i + 1);
                } else {
                    calls.Post(call);
                }
            }
            ++finishedThreads;
        });
    }
    RunEventsUntil([&] { return finishedThreads == kThreads; });
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_FALSE(wrongThread);
    for (size_t t = 0; t < kThreads; ++t) {
        ASSERT_EQ(seen[t].size(), kCallsEach) << t;
        for (size_t i = 0; i < kCallsEach; ++i) {
            EXPECT_EQ(seen[t][i], i) << t;
        }
    }
}

TEST(WindowThreadCalls, EndingReleasesAWaitingCallerWithoutRunningItsCall) {
    QObject window;
    WindowThreadCalls calls(window);
    std::atomic<bool> ran = false;
    calls.Post([&] { ran = true; });
    std::promise<bool> queued;
    auto waiting = std::async(std::launch::async, [&] {
        queued.set_value(true);
        return calls.RunAndWait([&] { ran = true; });
    });
    queued.get_future().wait();
    // The window's thread has not taken the calls yet: the caller may still be on its way to
    // the queue, or waiting; either way it returns false once the calls end.
    calls.EndCalls();
    EXPECT_FALSE(waiting.get());
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);

    calls.Post([&] { ran = true; });
    EXPECT_FALSE(calls.RunAndWait([&] { ran = true; }));  // on the window's thread, ended
    EXPECT_FALSE(std::async(std::launch::async, [&] {
                     return calls.RunAndWait([&] { ran = true; });
                 }).get());
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}

TEST(WindowThreadCalls, WakeUpsLeftWhenTheCallsAreGoneDoNothing) {
    QObject window;
    bool ran = false;
    {
        WindowThreadCalls calls(window);
        std::thread([&] { calls.Post([&] { ran = true; }); }).join();
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace zarvin
