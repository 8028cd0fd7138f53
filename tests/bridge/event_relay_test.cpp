// The relay between the network threads and a window's thread: order across posting threads,
// slices that let the event loop do other work during a burst, topics that supersede only what
// waits of their own kind, and nothing run after Detach.
#include "event_relay.h"
#include "qt_gtest.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

// Threads post while the receiver drains: each thread's deliveries run in its order, all on the
// receiver's thread, none lost.
TEST(EventRelay, KeepsOrderAcrossPostingThreads)
{
    QObject receiver;
    const auto relay = CEventRelay::Create(&receiver);
    constexpr int kThreads = 4;
    constexpr int kEach = 3000;
    std::vector<int> next(kThreads, 0);
    int delivered = 0;
    bool inOrder = true;
    bool onReceiverThread = true;
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t)
        posters.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i)
                relay->Post([&, t, i] {
                    inOrder = inOrder && next[t]++ == i;
                    onReceiverThread =
                        onReceiverThread && QThread::currentThread() == receiver.thread();
                    ++delivered;
                });
        });
    EXPECT_TRUE(Eventually([&] { return delivered == kThreads * kEach; })) << delivered;
    for (std::thread& poster : posters)
        poster.join();
    EXPECT_TRUE(inOrder);
    EXPECT_TRUE(onReceiverThread);
    relay->Detach();
}

// A burst of slow deliveries: other work queued behind the burst runs between two slices, and
// the rest of the burst follows.
TEST(EventRelay, DrainsABurstInSlices)
{
    QObject receiver;
    const auto relay = CEventRelay::Create(&receiver);
    constexpr int kBurst = 100;
    int delivered = 0;
    for (int i = 0; i < kBurst; ++i)
        relay->Post([&delivered] {
            const auto busyUntil = std::chrono::steady_clock::now() + 500us;
            while (std::chrono::steady_clock::now() < busyUntil) {
            }
            ++delivered;
        });
    int deliveredBeforeOtherWork = -1;
    QMetaObject::invokeMethod(
        &receiver, [&] { deliveredBeforeOtherWork = delivered; }, Qt::QueuedConnection);
    EXPECT_TRUE(Eventually([&] { return delivered == kBurst; }));
    EXPECT_GT(deliveredBeforeOtherWork, 0);
    EXPECT_LT(deliveredBeforeOtherWork, kBurst) << "the burst held the loop in one turn";
    relay->Detach();
}

// A snapshot supersedes the waiting snapshots of its own list only, and takes its place at the
// end, after the events that came before it.
TEST(EventRelay, TopicSupersedesOnlyItsOwnWaitingDeliveries)
{
    QObject receiver;
    const auto relay = CEventRelay::Create(&receiver);
    using Topic = CEventRelay::Topic;
    QStringList ran;
    const auto post = [&](const char* name, Topic topic) {
        relay->Post([&ran, name] { ran << QString::fromLatin1(name); }, topic);
    };
    post("visitors 1", Topic::Visitors);
    post("arrived", Topic::None);
    post("operators 1", Topic::Operators);
    post("participants 1", Topic::Participants);
    post("visitors 2", Topic::Visitors);
    post("left", Topic::None);
    post("operators 2", Topic::Operators);
    EXPECT_TRUE(Eventually([&] { return ran.size() == 5; }));
    post("visitors 3", Topic::Visitors); // what has run already stays run
    EXPECT_TRUE(Eventually([&] { return ran.size() == 6; }));
    EXPECT_EQ(ran, (QStringList{"arrived", "participants 1", "visitors 2", "left", "operators 2",
                                "visitors 3"}));
    relay->Detach();
}

class EventRelayDetach : public ::testing::TestWithParam<bool>
{
};

TEST_P(EventRelayDetach, NothingRunsAfterDetach)
{
    const bool fromInside = GetParam();
    auto receiver = std::make_unique<QObject>();
    const auto relay = CEventRelay::Create(receiver.get());
    int ran = 0;
    relay->Post([&] {
        ++ran;
        if (fromInside)
            relay->Detach();
    });
    relay->Post([&] { ++ran; });
    if (!fromInside)
        relay->Detach();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(ran, fromInside ? 1 : 0);
    // A network thread that outlives the receiver posts into nothing.
    receiver.reset();
    std::thread([relay, &ran] { relay->Post([&ran] { ++ran; }); }).join();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(ran, fromInside ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(BeforeTheDrainOrByADelivery, EventRelayDetach, ::testing::Bool());

// The receiver detaches and goes while a thread keeps posting, as a window closes under a
// chatting visitor.
TEST(EventRelay, DetachWhileAThreadKeepsPosting)
{
    auto receiver = std::make_unique<QObject>();
    const auto relay = CEventRelay::Create(receiver.get());
    std::atomic<bool> stop{false};
    int ran = 0;
    bool detached = false;
    int ranAfterDetach = 0;
    std::thread poster([&] {
        while (!stop)
            relay->Post([&] {
                ++ran;
                ranAfterDetach += detached ? 1 : 0;
            });
    });
    EXPECT_TRUE(Eventually([&] { return ran > 1000; }));
    detached = true;
    relay->Detach();
    receiver.reset();
    QCoreApplication::sendPostedEvents();
    stop = true;
    poster.join();
    EXPECT_EQ(ranAfterDetach, 0);
}
