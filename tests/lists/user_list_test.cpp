#include "message_codes.h"
#include "result_codes.h"
#include "socket_message.h"
#include "user_list.h"

#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Rec
{
    int id;
    int type;
    int status;
    std::string host = "host";
    std::string first = "Ann";
    std::string last = "Lee";
};

CSocketMessage UserReply(const std::string& count, const std::vector<Rec>& records)
{
    CSocketMessage reply(msg::kReplyOk);
    reply.AddIntField(msg::kRequestUsers);
    reply.AddField(count);
    for (const Rec& r : records) {
        reply.AddIntField(r.id);
        reply.AddIntField(42);
        reply.AddIntField(r.type);
        reply.AddIntField(r.status);
        reply.AddField(r.host);
        reply.AddField(r.first);
        reply.AddField(r.last);
    }
    return reply;
}

CUserEntry User(int id, int type, int status, const std::string& name = "")
{
    CUserEntry entry;
    entry.id = id;
    entry.type = type;
    entry.status = status;
    entry.text2 = name;
    return entry;
}

TEST(UserList, LoadReadsEveryField)
{
    CUserList list;
    EXPECT_EQ(list.Load(UserReply("2", {{3, UserType::kOperator, 2, "h1", "Ann", "Lee"},
                                        {4, UserType::kVisitor, 1, "", "Bob", ""}})),
              2);
    ASSERT_EQ(list.Count(), 2);
    const CUserEntry* ann = list.At(0);
    EXPECT_EQ(ann->id, 3);
    EXPECT_EQ(ann->number, 42);
    EXPECT_EQ(ann->type, UserType::kOperator);
    EXPECT_EQ(ann->status, OperatorStatus::kBusy);
    EXPECT_EQ(ann->text1, "h1");
    EXPECT_EQ(ann->text2, "Ann");
    EXPECT_EQ(ann->text3, "Lee");
    EXPECT_EQ(list.At(1)->text1, "");
    EXPECT_EQ(list.At(1)->text3, "");
}

TEST(UserList, LoadKeepsTheFirstRecordOfARepeatedKey)
{
    CUserList list;
    EXPECT_EQ(list.Load(UserReply("3", {{3, UserType::kOperator, 1, "first"},
                                        {3, UserType::kVisitor, 1, "other type"},
                                        {3, UserType::kOperator, 3, "second"}})),
              3);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Find(3, UserType::kOperator)->text1, "first");
    EXPECT_EQ(list.Find(3, UserType::kVisitor)->text1, "other type");
}

struct LoadCase
{
    const char* name;
    std::string count;
    int carried;
    int result;
    int listed;
};

class UserLoadEdges : public ::testing::TestWithParam<LoadCase>
{
};

TEST_P(UserLoadEdges, EmptiesTheListThenLoadsWhatTheReplyCarries)
{
    CUserList list;
    list.FindOrAdd(User(99, UserType::kOperator, 1));
    std::vector<Rec> records;
    for (int i = 0; i < GetParam().carried; ++i)
        records.push_back({i + 1, UserType::kOperator, 1});
    EXPECT_EQ(list.Load(UserReply(GetParam().count, records)), GetParam().result);
    EXPECT_EQ(list.Count(), GetParam().listed);
    EXPECT_EQ(list.Find(99, UserType::kOperator), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Rows, UserLoadEdges,
                         ::testing::Values(LoadCase{"CountZero", "0", 2, 0, 0},
                                           LoadCase{"CountMissing", "", 2, rc::kBadFormat, 0},
                                           LoadCase{"CountBelowRecords", "1", 2, 1, 1},
                                           LoadCase{"CountAboveRecords", "1000000000", 2, 2, 2},
                                           LoadCase{"NothingCarried", "5", 0, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UserList, FindOrAddReturnsTheListedEntryUnchanged)
{
    CUserList list;
    bool added = false;
    const CUserEntry* first = list.FindOrAdd(User(7, UserType::kOperator, 1, "old"), &added);
    EXPECT_TRUE(added);
    const CUserEntry* again = list.FindOrAdd(User(7, UserType::kOperator, 3, "new"), &added);
    EXPECT_FALSE(added);
    EXPECT_EQ(again, first);
    EXPECT_EQ(again->text2, "old");
    EXPECT_EQ(again->status, 1);
    list.FindOrAdd(User(7, UserType::kVisitor, 1), &added);
    EXPECT_TRUE(added);
    EXPECT_EQ(list.Count(), 2);
}

TEST(UserList, RemoveAndSetStatusGoByIdAndType)
{
    CUserList list;
    list.FindOrAdd(User(7, UserType::kVisitor, 1, "visitor"));
    list.FindOrAdd(User(7, UserType::kOperator, 1, "operator"));
    EXPECT_EQ(list.SetStatus(7, UserType::kOperator, 3)->text2, "operator");
    EXPECT_EQ(list.SetStatus(8, UserType::kOperator, 3), nullptr);
    EXPECT_EQ(list.Find(7, UserType::kVisitor)->status, 1);

    auto removed = list.Remove(7, UserType::kOperator);
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(removed->status, 3);
    EXPECT_EQ(list.Remove(7, UserType::kOperator), nullptr);
    EXPECT_EQ(list.At(0)->text2, "visitor");
}

TEST(UserList, CountWithStatus)
{
    CUserList list;
    list.Load(UserReply("5", {{1, 2, OperatorStatus::kOnline},
                              {2, 2, OperatorStatus::kBusy},
                              {3, 2, OperatorStatus::kBusy},
                              {4, 2, OperatorStatus::kAway},
                              {5, 2, 9}}));
    EXPECT_EQ(list.CountWithStatus(-1), 5);
    EXPECT_EQ(list.CountWithStatus(OperatorStatus::kBusy), 2);
    EXPECT_EQ(list.CountWithStatus(OperatorStatus::kAway), 1);
    EXPECT_EQ(list.CountWithStatus(0), 0);
}

TEST(UserList, CopiesAreSafeWhileTheFillingThreadChangesTheList)
{
    CUserList list;
    std::atomic<bool> done{false};
    std::thread filler([&] {
        for (int i = 0; i < 500; ++i) {
            list.FindOrAdd(User(i, UserType::kOperator, 1, "n"));
            list.SetStatus(i / 2, UserType::kOperator, 2);
            if (i % 3 == 0)
                list.Remove(i / 3, UserType::kOperator);
            if (i % 100 == 99)
                list.Clear();
        }
        done = true;
    });
    int bad = 0;
    while (!done) {
        for (const CUserEntry& e : list.Snapshot())
            bad += e.text2 != "n";
        if (auto copy = list.FindCopy(5, UserType::kOperator))
            bad += copy->status != 1 && copy->status != 2;
        (void)list.CountWithStatus(2);
    }
    filler.join();
    EXPECT_EQ(bad, 0);
}

} // namespace
