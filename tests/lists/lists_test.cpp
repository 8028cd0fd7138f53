// The visitor and user lists: loading list replies whatever they carry, lookups by key with
// repeated keys, the caps, time stamps, and readers racing the thread that reloads.
#include "message_codes.h"
#include "result_codes.h"
#include "server_time.h"
#include "socket_message.h"
#include "user_list.h"
#include "visitor_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using Record = std::vector<std::string>;

Record Visitor(int id, const std::string& time = "2005-3-7 9:5:0")
{
    const std::string n = std::to_string(id);
    return {n, "11", "http://site/p" + n, "Visitor " + n, "t3", time, "10.0.0.1", "7"};
}

CVisitorEntry Entry(int id, const std::string& time = "")
{
    CVisitorEntry entry;
    entry.id = id;
    entry.time = time;
    return entry;
}

CSocketMessage Reply(int request, const std::string& count, const std::vector<Record>& records)
{
    CSocketMessage reply(msg::kReplyOk);
    reply.AddIntField(request);
    reply.AddField(count);
    for (const Record& r : records)
        for (const std::string& field : r)
            reply.AddField(field);
    return reply;
}

std::vector<int> Ids(const CVisitorList& list)
{
    std::vector<int> ids;
    for (const CVisitorEntry& e : list.Snapshot())
        ids.push_back(e.id);
    return ids;
}

void SetZone(const char* zone)
{
    ::setenv("TZ", zone, 1);
    ::tzset();
}

// Runs at UTC+1 without summer time, whatever the host's zone.
class ListTest : public ::testing::Test
{
protected:
    void SetUp() override { SetZone("TEST-1"); }
    CVisitorList m_list;
};

struct LoadCase
{
    const char* name;
    std::string count;
    std::vector<Record> records;
    int result;
    std::vector<int> listed;
};

class VisitorLoads : public ListTest, public ::testing::WithParamInterface<LoadCase>
{
};

TEST_P(VisitorLoads, ReplaceTheListWithWhatTheReplyCarries)
{
    m_list.Add(Entry(77));
    EXPECT_EQ(m_list.Load(Reply(msg::kRequestVisitors, GetParam().count, GetParam().records)),
              GetParam().result);
    EXPECT_EQ(Ids(m_list), GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VisitorLoads,
    ::testing::Values(LoadCase{"CountZero", "0", {Visitor(1)}, 0, {}},
                      LoadCase{"CountMissing", "", {Visitor(1)}, rc::kBadFormat, {}},
                      LoadCase{"CountNegative", "-3", {Visitor(1)}, -3, {}},
                      LoadCase{"CountBelowRecords", "1", {Visitor(1), Visitor(2)}, 1, {1}},
                      // A lying count neither reads past the payload nor invents entries.
                      LoadCase{"CountAboveRecords", "2147483647", {Visitor(1), Visitor(2)}, 2, {1, 2}},
                      LoadCase{"LastRecordOnlyItsId", "2", {Visitor(1), {"8"}}, 2, {1, 8}},
                      LoadCase{"RepeatedIdsAllListed", "3", {Visitor(4), Visitor(6), Visitor(4)}, 3,
                               {4, 6, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListTest, RepeatedIdFindsAndRemovesTheFirstAndKeepsTheOrder)
{
    m_list.Load(Reply(msg::kRequestVisitors, "5",
                      {Visitor(4, "a"), Visitor(6), Visitor(4, "b"), Visitor(9), Visitor(4, "c")}));
    m_list.Add(Entry(4, "d"));
    for (const char* time : {"a", "b", "c", "d"}) {
        EXPECT_EQ(m_list.Find(4)->time, time);
        EXPECT_EQ(m_list.Remove(4)->time, time);
    }
    EXPECT_EQ(m_list.Remove(4), nullptr);
    EXPECT_EQ(Ids(m_list), (std::vector<int>{6, 9}));
}

// What a server makes a list hold stops at its capacity, one event at a time or in one reply;
// room made by a removal is taken again.
TEST_F(ListTest, ListsHoldNoMoreThanTheirCapacity)
{
    CVisitorList visitors(3);
    EXPECT_EQ(visitors.Load(Reply(msg::kRequestVisitors, "5",
                                  {Visitor(1), Visitor(2), Visitor(3), Visitor(4), Visitor(5)})),
              3);
    EXPECT_EQ(Ids(visitors), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(visitors.Add(Entry(6)), nullptr);
    visitors.Remove(2);
    EXPECT_NE(visitors.Add(Entry(6)), nullptr);
    EXPECT_EQ(Ids(visitors), (std::vector<int>{1, 3, 6}));

    CUserList users("users", 2);
    std::vector<Record> records;
    for (int id : {1, 2, 3})
        records.push_back({std::to_string(id), "0", "2", "1", "", "", ""});
    users.Load(Reply(msg::kRequestUsers, "3", records));
    EXPECT_EQ(users.Count(), 2);
    CUserEntry more;
    more.id = 9;
    EXPECT_EQ(users.FindOrAdd(more), nullptr);
}

TEST_F(ListTest, UserKeysAreIdAndTypeAndTheFirstRecordOfAKeyStays)
{
    CUserList users("users", 10);
    users.Load(Reply(msg::kRequestUsers, "3",
                     {{"3", "0", "2", "1", "first", "", ""}, {"3", "0", "1", "1", "other", "", ""},
                      {"3", "0", "2", "3", "second", "", ""}}));
    EXPECT_EQ(users.Find(3, 2)->text1, "first");
    EXPECT_EQ(users.SetStatus(3, 1, 2)->text1, "other");
    EXPECT_EQ(users.Remove(3, 2)->text1, "first");
    EXPECT_EQ(users.Count(), 1);
}

struct TimeCase
{
    const char* name;
    const char* zone;
    const char* received;
    const char* stored;
};

class ServerTimes : public ListTest, public ::testing::WithParamInterface<TimeCase>
{
};

// Bulk loads convert UTC stamps to local time; what names no moment, or none that fits the
// four-digit year, is kept as received.
TEST_P(ServerTimes, AreConvertedOrKept)
{
    SetZone(GetParam().zone);
    m_list.Load(Reply(msg::kRequestVisitors, "1", {Visitor(1, GetParam().received)}));
    EXPECT_EQ(m_list.FindCopy(1)->time, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ServerTimes,
    ::testing::Values(
        TimeCase{"SingleDigits", "TEST-1", "2005-3-7 9:5:0", "10:05:00 03/07/2005"},
        TimeCase{"IntoTheNextYear", "TEST-1", "2005-12-31 23:30:15", "00:30:15 01/01/2006"},
        TimeCase{"WestIntoThePreviousDay", "TEST+5", "2005-3-1 2:0:0", "21:00:00 02/28/2005"},
        TimeCase{"SummerTime", "CET-1CEST,M3.5.0,M10.5.0/3", "2005-7-1 12:0:0",
                 "14:00:00 07/01/2005"},
        TimeCase{"ScanfBlanksAndSigns", "TEST-1", " +2005- 3-7\n 9: 5:0 UTC", "10:05:00 03/07/2005"},
        TimeCase{"LocalYearPast9999", "TEST-1", "9999-12-31 23:30:00", "9999-12-31 23:30:00"},
        TimeCase{"LocalYearBeforeOne", "TEST+5", "1-1-1 2:0:0", "21:00:00 12/31/0000"},
        TimeCase{"HugeNumber", "TEST-1", "99999999999-3-7 9:5:0", "99999999999-3-7 9:5:0"},
        TimeCase{"FiveNumbers", "TEST-1", "2005-3-7 9:5", "2005-3-7 9:5"},
        TimeCase{"ThirtyFirstOfApril", "TEST-1", "2005-4-31 9:5:0", "2005-4-31 9:5:0"}),
    [](const auto& info) { return std::string(info.param.name); });

// The receive thread reloads and changes the list while other threads copy it: they see a
// whole list, old or new, never half of one.
TEST_F(ListTest, ReadersSeeWholeListsWhileTheReceiveThreadReloads)
{
    std::vector<Record> small, large;
    for (int i = 0; i < 300; ++i)
        (i < 3 ? small : large).push_back(Visitor(i));
    const CSocketMessage replies[] = {Reply(msg::kRequestVisitors, "3", small),
                                      Reply(msg::kRequestVisitors, "297", large)};
    m_list.Load(replies[0]);
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 200; ++i) {
            m_list.Load(replies[i % 2]);
            m_list.Add(Entry(1000));
            m_list.Remove(1000);
        }
        done = true;
    });
    int torn = 0; // the old list or the new one, each with the extra visitor or without
    while (!done) {
        const size_t size = m_list.Snapshot().size();
        torn += size != 3 && size != 297 && size != 4 && size != 298;
        const auto copy = m_list.FindCopy(200);
        torn += copy && copy->text2 != "Visitor 200";
    }
    writer.join();
    EXPECT_EQ(torn, 0);
}

} // namespace
