// The message codec on its own: building, parsing and reading fields, no socket.
#include "message_codes.h"
#include "result_codes.h"
#include "socket_message.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(CSocketMessage(msg::kKeepAlive).Payload(), "5001");
    EXPECT_EQ(CSocketMessage(7).Payload(), "   7");
    CSocketMessage invite(msg::kInviteVisitor);
    invite.AddIntField(-2147483647 - 1);
    invite.AddField(std::optional<std::string>{}); // absent counts as empty
    invite.AddField("a<~>b");                      // no escaping: two fields
    EXPECT_EQ(invite.Payload(), "4003-2147483648<~><~>a<~>b<~>");
    EXPECT_EQ(invite.GetIntField(1), -2147483647 - 1);
    EXPECT_FALSE(invite.GetField(2)); // an empty field reads back as missing
    EXPECT_EQ(invite.GetField(4), "b");
    // Codes outside 1..9999 do not fit the four characters: such a message stays empty.
    EXPECT_EQ(CSocketMessage(10000).AddField("x"), rc::kEmptyMessage);
    EXPECT_EQ(CSocketMessage().AddIntField(1), rc::kEmptyMessage);
}

TEST(Codec, FieldsOfReceivedPayloads)
{
    CSocketMessage bare = Parsed("1001<~><~>");
    EXPECT_EQ(bare.Code(), 1001);
    EXPECT_FALSE(bare.GetField(2));
    EXPECT_EQ(bare.GetIntField(1), rc::kBadFormat);

    CSocketMessage reply = Parsed("90011001<~>7<~>trailing");
    EXPECT_FALSE(reply.GetField(3)); // text after the last delimiter is no field
    EXPECT_EQ(reply.GetField(2), "7");
    EXPECT_EQ(reply.GetField(-5), "1001"); // n <= 1 means field 1
    EXPECT_EQ(reply.FieldCount(), 2);

    int result = 0;
    EXPECT_EQ(Parsed("12", &result).Code(), 0);
    EXPECT_EQ(result, 2);
    EXPECT_FALSE(Parsed("<~>1", &result).GetField(1)); // the code's four bytes hold no field
    EXPECT_EQ(result, 4);
    EXPECT_EQ(Parsed("-001<~>", &result).Payload(), "-001<~>");
    EXPECT_EQ(result, rc::kBadFormat);
    EXPECT_EQ(Parsed("3003a\0b<~>"s).GetField(1), "a\0b"s);
}

// Numbers read like the classic conversion, but saturate instead of overflowing.
TEST(Codec, NumberFields)
{
    const std::pair<const char*, std::int32_t> rows[] = {
        {"  42abc", 42}, {"+9", 9}, {"abc", 0}, {"-", 0}, {"-2147483648", -2147483647 - 1},
        {"99999999999999999999", 2147483647}, {"-99999999999999999999", -2147483647 - 1}};
    for (const auto& [text, value] : rows)
        EXPECT_EQ(Parsed(std::string("9001") + text + "<~>").GetIntField(1), value) << text;
}

} // namespace
