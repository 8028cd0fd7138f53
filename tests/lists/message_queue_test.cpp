#include "message_codes.h"
#include "message_queue.h"
#include "socket_message.h"

#include <gtest/gtest.h>
#include <set>
#include <thread>
#include <vector>

namespace {

CSocketMessage ChatLine(const std::string& text)
{
    CSocketMessage message(msg::kChatData);
    message.AddIntField(msg::chat::kLine);
    message.AddField("op");
    message.AddField(text);
    return message;
}

TEST(MessageQueue, StringFieldsAreQueuedAsText)
{
    // Queued chat lines are built from std::string texts; the codec must take them as they are.
    const std::string name = "op";
    const std::string text;
    CSocketMessage message(msg::kChatData);
    EXPECT_EQ(message.AddField(name), 0);
    EXPECT_EQ(message.AddField(text), 0);
    CMessageQueue queue;
    ASSERT_TRUE(queue.Push(message));
    EXPECT_EQ(queue.Pop()->Payload(), "3003op<~><~>");
}

TEST(MessageQueue, EmptyMessageIsNotQueued)
{
    CMessageQueue queue;
    EXPECT_FALSE(queue.Push(CSocketMessage()));
    EXPECT_FALSE(queue.Push(CSocketMessage(0)));
    EXPECT_EQ(queue.Pop(), nullptr);
}

TEST(MessageQueue, QueuesDeepCopiesOldestFirst)
{
    CMessageQueue queue;
    CSocketMessage first = ChatLine("one");
    ASSERT_TRUE(queue.Push(first));
    ASSERT_TRUE(queue.Push(ChatLine("two")));
    first.AddField("changed after queuing");

    auto a = queue.Pop();
    auto b = queue.Pop();
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->Payload(), "3003"
                            "1<~>op<~>one<~>");
    EXPECT_EQ(a->GetField(3), "one");
    EXPECT_EQ(a->FieldCount(), 3);
    EXPECT_EQ(b->GetField(3), "two");
    EXPECT_EQ(queue.Pop(), nullptr);
}

TEST(MessageQueue, ClearDropsEverything)
{
    CMessageQueue queue;
    for (int i = 0; i < 5; ++i)
        queue.Push(ChatLine(std::to_string(i)));
    queue.Clear();
    EXPECT_EQ(queue.Count(), 0);
    EXPECT_EQ(queue.Pop(), nullptr);
}

TEST(MessageQueue, ConcurrentProducersAndConsumerLoseNothing)
{
    constexpr int kProducers = 3;
    constexpr int kEach = 500;
    CMessageQueue queue;
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int i = 0; i < kEach; ++i)
                queue.Push(ChatLine(std::to_string(p * kEach + i)));
        });
    }
    std::multiset<std::string> seen;
    std::vector<int> lastPerProducer(kProducers, -1);
    bool ordered = true;
    while (static_cast<int>(seen.size()) < kProducers * kEach) {
        auto message = queue.Pop();
        if (!message) {
            std::this_thread::yield();
            continue;
        }
        const int n = std::stoi(*message->GetField(3));
        ordered = ordered && n > lastPerProducer[static_cast<size_t>(n / kEach)];
        lastPerProducer[static_cast<size_t>(n / kEach)] = n;
        seen.insert(*message->GetField(3));
    }
    for (auto& t : producers)
        t.join();
    EXPECT_TRUE(ordered);
    EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()).size(), seen.size());
    EXPECT_EQ(queue.Pop(), nullptr);
}

} // namespace
