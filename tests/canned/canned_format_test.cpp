// The canned answers file format on its own: exact bytes, round trips, and every way a file
// can be wrong, cut or hostile.
#include "canned_answers.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace std::string_literals;

namespace {

std::string U32(std::uint32_t value)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return bytes;
}

std::string Str(const std::string& text)
{
    return U32(static_cast<std::uint32_t>(text.size())) + text;
}

const std::string kHeader = U32(80001);
const std::string kEnd = U32(80004);

std::string Category(const std::string& name)
{
    return U32(80002) + Str(name);
}

std::string Answer(const std::string& title, const std::string& message)
{
    return U32(80003) + Str(title) + Str(message);
}

CannedCategory Loaded(std::string name, std::vector<CannedAnswer> answers)
{
    return {std::move(name), std::move(answers), true};
}

std::string AllBytes()
{
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes.push_back(static_cast<char>(c));
    return bytes;
}

TEST(CannedFormat, ExampleFileBytes)
{
    const std::string file = "\x81\x38\x01\x00"s
                             "\x82\x38\x01\x00\x09\x00\x00\x00"
                             "Greetings"
                             "\x83\x38\x01\x00\x07\x00\x00\x00"
                             "Welcome"
                             "\x06\x00\x00\x00"
                             "Hello!"
                             "\x84\x38\x01\x00"s;
    const CannedAnswers tree = {Loaded("Greetings", {{"Welcome", "Hello!"}})};
    EXPECT_EQ(SerializeCannedAnswers(tree), file);
    EXPECT_EQ(ParseCannedAnswers(file), tree);
}

TEST(CannedFormat, RoundTripKeepsOrderAndEveryByte)
{
    const CannedAnswers tree = {
        Loaded("Zebra", {{"second", "b"}, {"first", "a"}}),
        Loaded("Apple", {{"Line breaks", "one\r\ntwo\nthree\r"},
                         {"HTML", "<b>Bold</b> <a href=\"https://example.org/?a=1&b=2\">x</a>"},
                         {"Raw bytes " + AllBytes(), AllBytes() + AllBytes()}}),
        Loaded("Empty category", {}),
        Loaded("Gr\xc3\xbc\xc3\x9f"
               "e \xe2\x82\xac",
               {{"\xff\xfe", "\x00\x01"s}}),
    };
    const std::string bytes = SerializeCannedAnswers(tree);
    EXPECT_EQ(ParseCannedAnswers(bytes), tree);
    EXPECT_EQ(SerializeCannedAnswers(ParseCannedAnswers(bytes)), bytes);
}

class WrongHeader : public testing::TestWithParam<std::string>
{
};

TEST_P(WrongHeader, GivesNoAnswersAtAll)
{
    EXPECT_TRUE(ParseCannedAnswers(GetParam()).empty());
}

INSTANTIATE_TEST_SUITE_P(CannedFormat, WrongHeader,
                         testing::Values(""s, "\x81"s, "\x81\x38\x01"s,
                                         "\x00\x01\x38\x81"s + Category("A") + kEnd,
                                         U32(80002) + Str("A") + Answer("t", "m") + kEnd,
                                         U32(80000) + kEnd,
                                         "plain text that is not a canned answers file"s));

TEST(CannedFormat, TruncatedFileKeepsWholeRecordsAtEveryCut)
{
    // Each record with what the tree holds once it is whole.
    const std::vector<std::pair<std::string, std::function<void(CannedAnswers&)>>> records = {
        {Category("A"), [](CannedAnswers& t) { t.push_back(Loaded("A", {})); }},
        {Answer("t1", "m1"),
         [](CannedAnswers& t) {
             t.back().answers.push_back({"t1", "m1"});
         }},
        {Category("Bee"), [](CannedAnswers& t) { t.push_back(Loaded("Bee", {})); }},
        {Answer("t2", "message two"),
         [](CannedAnswers& t) {
             t.back().answers.push_back({"t2", "message two"});
         }},
        {Answer("t3", "m3"),
         [](CannedAnswers& t) {
             t.back().answers.push_back({"t3", "m3"});
         }},
        {kEnd, [](CannedAnswers&) {}},
    };
    std::string file = kHeader;
    std::vector<size_t> ends;
    for (const auto& record : records) {
        file += record.first;
        ends.push_back(file.size());
    }
    for (size_t cut = 0; cut <= file.size(); ++cut) {
        CannedAnswers expected;
        for (size_t r = 0; r < records.size() && ends[r] <= cut; ++r)
            records[r].second(expected);
        EXPECT_EQ(ParseCannedAnswers(std::string_view(file).substr(0, cut)), expected)
            << "cut after " << cut << " bytes";
    }
}

TEST(CannedFormat, AnswerBeforeAnyCategoryIsSkipped)
{
    const std::string file =
        kHeader + Answer("orphan", "nobody's") + Category("C") + Answer("t", "m") + kEnd;
    EXPECT_EQ(ParseCannedAnswers(file), (CannedAnswers{Loaded("C", {{"t", "m"}})}));
}

struct AbsentCase
{
    const char* name;
    std::string records;
    CannedAnswers tree;
};

class AbsentTexts : public testing::TestWithParam<AbsentCase>
{
};

TEST_P(AbsentTexts, InsertNothingAndKeepReading)
{
    EXPECT_EQ(ParseCannedAnswers(kHeader + GetParam().records + kEnd), GetParam().tree);
}

INSTANTIATE_TEST_SUITE_P(
    CannedFormat, AbsentTexts,
    testing::Values(
        AbsentCase{"AnswerWithoutTitle",
                   Category("A") + Answer("", "its message is still read") + Answer("t", "m"),
                   {Loaded("A", {{"t", "m"}})}},
        AbsentCase{"AnswerWithoutMessage",
                   Category("A") + Answer("t0", "") + Answer("t", "m"),
                   {Loaded("A", {{"t", "m"}})}},
        AbsentCase{"NegativeLengthTitle",
                   Category("A") + U32(80003) + U32(0xFFFFFFFF) + Str("m0") + Answer("t", "m"),
                   {Loaded("A", {{"t", "m"}})}},
        AbsentCase{"NegativeLengthName",
                   U32(80002) + U32(0x80000000) + Category("A") + Answer("t", "m"),
                   {Loaded("A", {{"t", "m"}})}},
        AbsentCase{"NamelessCategoryFirst", Category("") + Answer("t", "m"), {}},
        // A nameless category inserts nothing and leaves the current category as it was.
        AbsentCase{"NamelessCategoryLater",
                   Category("A") + Answer("t1", "m1") + Category("") + Answer("t2", "m2"),
                   {Loaded("A", {{"t1", "m1"}, {"t2", "m2"}})}}),
    [](const testing::TestParamInfo<AbsentCase>& info) { return std::string(info.param.name); });

TEST(CannedFormat, LengthBeyondTheDataEndsReading)
{
    const std::string kept = kHeader + Category("A") + Answer("t", "m");
    const CannedAnswers tree = {Loaded("A", {{"t", "m"}})};
    EXPECT_EQ(ParseCannedAnswers(kept + U32(80002) + U32(0x7FFFFFFF) + "abc"), tree);
    EXPECT_EQ(ParseCannedAnswers(kept + U32(80003) + Str("title") + U32(4) + "abc"), tree);
    // Exactly what is left is not beyond it.
    EXPECT_EQ(ParseCannedAnswers(kept + U32(80002) + U32(3) + "abc"),
              (CannedAnswers{Loaded("A", {{"t", "m"}}), Loaded("abc", {})}));
}

TEST(CannedFormat, EndRecordOrUnknownTagEndsReading)
{
    const CannedAnswers tree = {Loaded("A", {{"t", "m"}})};
    const std::string kept = kHeader + Category("A") + Answer("t", "m");
    EXPECT_EQ(ParseCannedAnswers(kept + kEnd + Category("B") + Answer("x", "y")), tree);
    EXPECT_EQ(ParseCannedAnswers(kept + U32(80005) + Category("B")), tree);
    EXPECT_EQ(ParseCannedAnswers(kept + U32(80001) + Category("B")), tree);
    EXPECT_EQ(ParseCannedAnswers(kept + "\x82\x38"), tree);
}

} // namespace
