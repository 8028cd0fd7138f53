// The message codec on its own: building, parsing and reading fields, no socket.
#include "message_codes.h"
#include "result_codes.h"
#include "socket_message.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

CSocketMessage Parsed(std::string_view payload, int* result = nullptr)
{
    CSocketMessage m;
    const int r = m.Assign(payload);
    if (result)
        *result = r;
    return m;
}

TEST(Codec, BuiltMessagesHaveTheWireLayout)
{
    CSocketMessage keepAlive(msg::kKeepAlive);
    EXPECT_EQ(keepAlive.Payload(), "5001");
    EXPECT_EQ(keepAlive.Length(), 4);

    CSocketMessage status(msg::kSetStatus);
    ASSERT_EQ(status.AddIntField(2), 0);
    EXPECT_EQ(status.Payload(), "10032<~>");
    EXPECT_EQ(status.Length(), 8);

    CSocketMessage invite(msg::kInviteVisitor);
    invite.AddIntField(-2147483647 - 1);
    invite.AddField(std::optional<std::string>{}); // absent counts as empty
    invite.AddField("hello there");
    EXPECT_EQ(invite.Payload(), "4003-2147483648<~><~>hello there<~>");
    EXPECT_EQ(invite.GetIntField(1), -2147483647 - 1);
    EXPECT_FALSE(invite.GetField(2).has_value()); // an empty field reads back as missing
    EXPECT_EQ(invite.GetField(3), "hello there");
}

TEST(Codec, CodesAreRightAlignedInFourCharacters)
{
    EXPECT_EQ(CSocketMessage(7).Payload(), "   7");
    EXPECT_EQ(Parsed("   7<~>").Code(), 7);
}

TEST(Codec, EmptyMessageRefusesFieldsAndSends)
{
    CSocketMessage empty;
    EXPECT_EQ(empty.AddField("x"), rc::kEmptyMessage);
    EXPECT_EQ(empty.AddIntField(1), rc::kEmptyMessage);
    EXPECT_TRUE(empty.IsEmpty());
    // Codes outside 1..9999 would not fit the four-character code: such a message stays empty.
    EXPECT_EQ(CSocketMessage(10000).AddField("x"), rc::kEmptyMessage);
    EXPECT_EQ(CSocketMessage(-3).AddField("x"), rc::kEmptyMessage);
}

TEST(Codec, MissingAndPresentFields)
{
    // 1001 and two bare delimiters: fields 1 and 2 exist but are empty, so they are missing.
    CSocketMessage bare = Parsed("1001<~><~>");
    EXPECT_EQ(bare.Code(), 1001);
    EXPECT_FALSE(bare.GetField(1));
    EXPECT_FALSE(bare.GetField(2));
    EXPECT_EQ(bare.GetIntField(1), rc::kBadFormat);

    CSocketMessage reply = Parsed("90011001<~>7<~>");
    EXPECT_FALSE(reply.GetField(3));
    EXPECT_EQ(reply.GetField(2), "7");
    EXPECT_EQ(reply.GetField(0), "1001"); // n <= 1 means field 1
    EXPECT_EQ(reply.GetField(-5), "1001");
    EXPECT_EQ(reply.FieldCount(), 2);

    // Text after the last delimiter is not a field.
    CSocketMessage trailing = Parsed("9001abc<~>def");
    EXPECT_EQ(trailing.GetField(1), "abc");
    EXPECT_FALSE(trailing.GetField(2));
}

TEST(Codec, ShortAndOddPayloads)
{
    int result = 0;
    CSocketMessage two = Parsed("12", &result);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(two.Code(), 0);
    EXPECT_EQ(two.Length(), 2);
    EXPECT_FALSE(two.GetField(1));

    // A delimiter inside the first four bytes is part of the code, not a field end.
    CSocketMessage early = Parsed("<~>1", &result);
    EXPECT_EQ(result, 4);
    EXPECT_FALSE(early.GetField(1));

    CSocketMessage negative = Parsed("-001<~>", &result);
    EXPECT_EQ(result, rc::kBadFormat);
    EXPECT_EQ(negative.Payload(), "-001<~>"); // the payload stays in the message

    CSocketMessage letters = Parsed("abcd1<~>", &result);
    EXPECT_EQ(result, 8);
    EXPECT_EQ(letters.Code(), 0);
    EXPECT_EQ(letters.GetField(1), "1");

    // Bytes past the code are read as they come, including NULs inside fields.
    CSocketMessage binary = Parsed("3003a\0b<~>"s, &result);
    EXPECT_EQ(binary.GetField(1), "a\0b"s);
}

TEST(Codec, DelimiterInsideATextSplitsIt)
{
    CSocketMessage m(msg::kChatData);
    m.AddIntField(msg::chat::kLine);
    m.AddField("ann");
    m.AddField("a<~>b");
    EXPECT_EQ(m.FieldCount(), 4);
    EXPECT_EQ(m.GetField(3), "a");
    EXPECT_EQ(m.GetField(4), "b");
    // Read back from the bytes, the same.
    CSocketMessage parsed = Parsed(m.Payload());
    EXPECT_EQ(parsed.FieldCount(), 4);
    EXPECT_EQ(parsed.GetField(4), "b");
}

struct NumberCase
{
    const char* text;
    std::int32_t value;
};

class NumberFields : public ::testing::TestWithParam<NumberCase>
{
};

TEST_P(NumberFields, ReadLikeTheClassicConversion)
{
    CSocketMessage m(msg::kReplyOk);
    m.AddField(GetParam().text);
    EXPECT_EQ(m.GetIntField(1), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Codec, NumberFields,
                         ::testing::Values(NumberCase{"42", 42}, NumberCase{"  42abc", 42},
                                           NumberCase{"-7", -7}, NumberCase{"+9", 9},
                                           NumberCase{"abc", 0}, NumberCase{"-", 0},
                                           NumberCase{"2147483647", 2147483647},
                                           NumberCase{"-2147483648", -2147483647 - 1},
                                           // saturates instead of wrapping around
                                           NumberCase{"99999999999999999999", 2147483647},
                                           NumberCase{"-99999999999999999999", -2147483647 - 1}));

TEST(Codec, ReserialisedPayloadMatchesTheBytes)
{
    const std::string bytes = "90011007<~>2<~>11<~>0<~>http://a/<~>Ann<~>x<~>2005-3-7 9:5:0<~>1.2.3.4<~>7<~>";
    CSocketMessage in = Parsed(bytes);
    CSocketMessage out(in.Code());
    for (int n = 1; n <= in.FieldCount(); ++n)
        out.AddField(in.FieldView(n));
    EXPECT_EQ(out.Payload(), bytes);
}

TEST(Codec, CopiesAreDeep)
{
    CSocketMessage a(msg::kChatData);
    a.AddField("one");
    CSocketMessage b = a;
    a.AddField("two");
    EXPECT_EQ(b.FieldCount(), 1);
    EXPECT_EQ(b.Payload(), "3003one<~>");
    EXPECT_EQ(a.GetField(2), "two");
}

TEST(ResultCodes, SentencesForOperators)
{
    const std::string unknown = "There was an unknown internal error.";
    for (int code : {-9, -21, 0, 1, 5, -26, -47, -99, -102})
        EXPECT_EQ(ResultMessage(code), unknown) << code;
    EXPECT_STREQ(ResultMessage(-6), ResultMessage(-7));
    EXPECT_STREQ(ResultMessage(-2), ResultMessage(-5));
    EXPECT_STREQ(ResultMessage(-3), ResultMessage(-4));
    EXPECT_STREQ(ResultMessage(-4), ResultMessage(-8));
    EXPECT_STREQ(ResultMessage(-32), "The web page visitor could not be not found.");
    EXPECT_STREQ(ResultMessage(-10), "The system failed to aquire the semaphore.");
    EXPECT_STREQ(ResultMessage(-24), "The supplied user credentials are not valid.");
    EXPECT_STREQ(ResultMessage(-101), "The server failed to execute the SQL command.");
    EXPECT_STREQ(ResultMessage(-1), "There was an error while initializing the socket.");
}

} // namespace
