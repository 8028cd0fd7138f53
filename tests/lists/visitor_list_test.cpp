#include "message_codes.h"
#include "result_codes.h"
#include "server_time.h"
#include "socket_message.h"
#include "visitor_list.h"

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace {

using Record = std::vector<std::string>; // the 8 fields of one visitor record

Record Visitor(int id, const std::string& time = "2005-3-7 9:5:0")
{
    return {std::to_string(id),
            "11",
            "http://site/p" + std::to_string(id),
            "Visitor " + std::to_string(id),
            "t3",
            time,
            "10.0.0." + std::to_string(id % 250),
            "7"};
}

CVisitorEntry Entry(int id, const std::string& time = "")
{
    CVisitorEntry entry;
    entry.id = id;
    entry.time = time;
    return entry;
}

// A reply 9001/1007 with the given count text (empty: missing) and records.
CSocketMessage VisitorReply(const std::string& count, const std::vector<Record>& records)
{
    CSocketMessage reply(msg::kReplyOk);
    reply.AddIntField(msg::kRequestVisitors);
    reply.AddField(count);
    for (const Record& r : records)
        for (const std::string& field : r)
            reply.AddField(field);
    return reply;
}

// Runs with the machine at UTC+1, without summer time, whatever the host's zone.
class VisitorListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* old = std::getenv("TZ");
        m_oldTz = old ? std::optional<std::string>(old) : std::nullopt;
        ::setenv("TZ", "TEST-1", 1);
        ::tzset();
    }
    void TearDown() override
    {
        if (m_oldTz)
            ::setenv("TZ", m_oldTz->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    CVisitorList m_list;

private:
    std::optional<std::string> m_oldTz;
};

TEST_F(VisitorListTest, LoadReadsEveryFieldOfEveryRecordInOrder)
{
    const int result = m_list.Load(VisitorReply("2", {Visitor(5), Visitor(9)}));
    EXPECT_EQ(result, 2);
    ASSERT_EQ(m_list.Count(), 2);
    const CVisitorEntry* first = m_list.At(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->id, 5);
    EXPECT_EQ(first->number1, 11);
    EXPECT_EQ(first->text1, "http://site/p5");
    EXPECT_EQ(first->text2, "Visitor 5");
    EXPECT_EQ(first->text3, "t3");
    EXPECT_EQ(first->time, "10:05:00 03/07/2005");
    EXPECT_EQ(first->text5, "10.0.0.5");
    EXPECT_EQ(first->number2, 7);
    EXPECT_FALSE(first->invited);
    EXPECT_EQ(first->minutes, 0);
    EXPECT_EQ(m_list.At(1)->id, 9);
    EXPECT_EQ(m_list.At(2), nullptr);
    EXPECT_EQ(m_list.At(-1), nullptr);
}

struct LoadCase
{
    const char* name;
    std::string count;
    std::vector<Record> records;
    int result;
    int listed;
};

class VisitorLoadEdges : public VisitorListTest, public ::testing::WithParamInterface<LoadCase>
{
};

TEST_P(VisitorLoadEdges, EmptiesTheListThenLoadsWhatTheReplyCarries)
{
    m_list.Add(Entry(77));
    const LoadCase& c = GetParam();
    EXPECT_EQ(m_list.Load(VisitorReply(c.count, c.records)), c.result);
    EXPECT_EQ(m_list.Count(), c.listed);
    EXPECT_EQ(m_list.Find(77), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VisitorLoadEdges,
    ::testing::Values(LoadCase{"CountZero", "0", {Visitor(1)}, 0, 0},
                      LoadCase{"CountMissing", "", {Visitor(1)}, rc::kBadFormat, 0},
                      LoadCase{"CountNegative", "-3", {Visitor(1)}, -3, 0},
                      LoadCase{"CountNotANumber", "many", {Visitor(1)}, 0, 0},
                      LoadCase{"CountBelowRecords", "1", {Visitor(1), Visitor(2)}, 1, 1},
                      // A lying count must neither read past the payload nor build millions of
                      // empty entries.
                      LoadCase{"CountAboveRecords", "2147483647", {Visitor(1), Visitor(2)}, 2, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VisitorListTest, RecordCutShortReadsMissingFieldsAsAbsent)
{
    Record partial = {"8", "3", "http://x"}; // the rest of the record is not there
    EXPECT_EQ(m_list.Load(VisitorReply("2", {Visitor(1), partial})), 2);
    const CVisitorEntry* cut = m_list.Find(8);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->text1, "http://x");
    EXPECT_EQ(cut->text2, "");
    EXPECT_EQ(cut->time, "");
    EXPECT_EQ(cut->number2, rc::kBadFormat);
}

TEST_F(VisitorListTest, DuplicateIdsKeepListOrderAndFirstMatchWins)
{
    m_list.Load(VisitorReply("3", {Visitor(4), Visitor(6), Visitor(4)}));
    ASSERT_EQ(m_list.Count(), 3);
    const CVisitorEntry* firstFour = m_list.At(0);
    const CVisitorEntry* secondFour = m_list.At(2);
    EXPECT_EQ(m_list.Find(4), firstFour);

    auto removed = m_list.Remove(4);
    EXPECT_EQ(removed.get(), firstFour);
    EXPECT_EQ(m_list.Find(4), secondFour);
    EXPECT_EQ(m_list.At(0)->id, 6);
    EXPECT_EQ(m_list.At(1), secondFour);
    EXPECT_EQ(m_list.Remove(12345), nullptr);
}

TEST_F(VisitorListTest, AddKeepsTimeTextAsGiven)
{
    const CVisitorEntry* added = m_list.Add(Entry(3, "2005-3-7 9:5:0"));
    EXPECT_EQ(added->time, "2005-3-7 9:5:0");
    EXPECT_EQ(m_list.Find(3), added);
}

TEST_F(VisitorListTest, CopiesOutliveTheList)
{
    m_list.Load(VisitorReply("2", {Visitor(1), Visitor(2)}));
    const auto copy = m_list.FindCopy(2);
    const auto all = m_list.Snapshot();
    m_list.Clear();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->text2, "Visitor 2");
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].id, 1);
    EXPECT_FALSE(m_list.FindCopy(2));
}

struct TimeCase
{
    const char* name;
    const char* tz;
    const char* received;
    const char* stored;
};

class ServerTimeTest : public VisitorListTest, public ::testing::WithParamInterface<TimeCase>
{
};

TEST_P(ServerTimeTest, ConvertsMatchingStampsToLocalTimeAndKeepsTheRest)
{
    const TimeCase& c = GetParam();
    ::setenv("TZ", c.tz, 1);
    ::tzset();
    EXPECT_EQ(m_list.Load(VisitorReply("1", {Visitor(1, c.received)})), 1);
    EXPECT_EQ(m_list.At(0)->time, c.stored);
    EXPECT_EQ(ServerTimeToLocal(c.received), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ServerTimeTest,
    ::testing::Values(
        TimeCase{"SingleDigitsAtUtcPlusOne", "TEST-1", "2005-3-7 9:5:0", "10:05:00 03/07/2005"},
        TimeCase{"PaddedAtUtcPlusOne", "TEST-1", "2005-03-07 09:05:00", "10:05:00 03/07/2005"},
        TimeCase{"IntoTheNextYear", "TEST-1", "2005-12-31 23:30:15", "00:30:15 01/01/2006"},
        TimeCase{"WestOfGreenwichIntoThePreviousDay", "TEST+5", "2005-3-1 2:0:0",
                 "21:00:00 02/28/2005"},
        TimeCase{"SummerTimeOfThatDate", "CET-1CEST,M3.5.0,M10.5.0/3", "2005-7-1 12:0:0",
                 "14:00:00 07/01/2005"},
        // Read as scanf reads "%d-%d-%d %d:%d:%d": blanks before numbers, signs, any run of
        // blanks between date and time, and trailing text are all accepted.
        TimeCase{"BlanksBeforeNumbers", "TEST-1", " 2005- 3- 7\t 9: 5: 0", "10:05:00 03/07/2005"},
        TimeCase{"RunOfBlanksBetweenDateAndTime", "TEST-1", "2005-3-7\n\t 9:5:0",
                 "10:05:00 03/07/2005"},
        TimeCase{"SignedNumbers", "TEST-1", "+2005-+3-7 9:5:0", "10:05:00 03/07/2005"},
        TimeCase{"TrailingText", "TEST-1", "2005-3-7 9:5:0.250 UTC", "10:05:00 03/07/2005"},
        TimeCase{"BlankBeforeDash", "TEST-1", "2005 -3-7 9:5:0", "2005 -3-7 9:5:0"},
        TimeCase{"IsoSeparator", "TEST-1", "2005-3-7T9:5:0", "2005-3-7T9:5:0"},
        TimeCase{"HugeNumber", "TEST-1", "99999999999-3-7 9:5:0", "99999999999-3-7 9:5:0"},
        TimeCase{"FiveNumbers", "TEST-1", "2005-3-7 9:5", "2005-3-7 9:5"},
        TimeCase{"NotATime", "TEST-1", "yesterday", "yesterday"},
        TimeCase{"SlashedDate", "TEST-1", "2005/3/7 9:5:0", "2005/3/7 9:5:0"},
        TimeCase{"MonthThirteen", "TEST-1", "2005-13-7 9:5:0", "2005-13-7 9:5:0"},
        TimeCase{"ThirtyFirstOfApril", "TEST-1", "2005-4-31 9:5:0", "2005-4-31 9:5:0"},
        TimeCase{"HourTwentyFour", "TEST-1", "2005-3-7 24:0:0", "2005-3-7 24:0:0"},
        TimeCase{"Empty", "TEST-1", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VisitorListTest, ReadersSeeWholeListsWhileTheReceiveThreadReloads)
{
    std::vector<Record> small, large;
    for (int i = 0; i < 3; ++i)
        small.push_back(Visitor(i));
    for (int i = 0; i < 300; ++i)
        large.push_back(Visitor(i));
    const CSocketMessage a = VisitorReply("3", small);
    const CSocketMessage b = VisitorReply("300", large);

    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 200; ++i) {
            m_list.Load(i % 2 ? a : b);
            m_list.Add(Entry(1000 + i));
            m_list.Remove(1000 + i);
        }
        done = true;
    });
    int torn = 0;
    while (!done) {
        const auto seen = m_list.Snapshot();
        const size_t size = seen.size();
        torn += size != 3 && size != 300 && size != 4 && size != 301 && size != 0;
        if (const auto copy = m_list.FindCopy(2))
            torn += copy->text2 != "Visitor 2";
    }
    writer.join();
    EXPECT_EQ(torn, 0);
}

} // namespace
