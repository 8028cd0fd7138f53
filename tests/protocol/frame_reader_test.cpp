// Frames cut out of a byte stream however the network splits it, and bad headers refused from
// the header alone.
#include "fake_connection.h"
#include "frame_reader.h"
#include "result_codes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>

using testing_support::FrameOf;

namespace {

constexpr std::uint32_t kCap = 300'000;

// Feeds the stream through the reader in pieces of at most `piece` bytes, as reads would
// deliver them, and collects the frames (a negative entry for a failure, which ends it).
std::vector<std::string> Feed(CFrameReader& reader, const std::string& stream, size_t piece)
{
    std::vector<std::string> frames;
    std::vector<char> payload;
    size_t at = 0;
    for (;;) {
        const int r = reader.Take(payload);
        if (r < 0)
            return frames.push_back(std::to_string(r)), frames;
        if (r > 0) {
            EXPECT_EQ(payload.size(), static_cast<size_t>(r) + 1);
            EXPECT_EQ(payload[static_cast<size_t>(r)], '\0');
            frames.emplace_back(payload.data(), static_cast<size_t>(r));
            continue;
        }
        if (at == stream.size())
            return frames;
        const std::span<char> space = reader.Space(payload);
        const size_t n = std::min({piece, space.size(), stream.size() - at});
        std::memcpy(space.data(), stream.data() + at, n);
        reader.Filled(n);
        at += n;
    }
}

TEST(FrameReader, FramesComeOutWholeHoweverTheStreamIsSplit)
{
    // The first frame ends three bytes short of a block, so that the next header is split
    // across a block's end; the 200 KB one is read straight into its payload.
    std::vector<std::string> sent = {std::string(CFrameReader::kBlockSize - 10, 'a'), "5001",
                                     "90034002<~>17<~>", std::string(200'000, 'b'), "1",
                                     std::string(CFrameReader::kBlockSize, 'x'), "12"};
    for (size_t i = 0; i < sent[3].size(); i += 97)
        sent[3][i] = static_cast<char>(i); // NULs and the marker's bytes inside a body too
    std::string stream;
    for (const auto& payload : sent)
        stream += FrameOf(payload);
    for (size_t piece : {size_t{1}, size_t{2}, size_t{3}, size_t{6}, size_t{7}, size_t{8},
                         size_t{11}, size_t{4096}, size_t{65'535}, size_t{65'543}, stream.size()}) {
        CFrameReader reader(kCap);
        EXPECT_EQ(Feed(reader, stream, piece), sent) << "in pieces of " << piece;
        EXPECT_FALSE(reader.Begun());
    }
}

struct BadHeader
{
    const char* name;
    std::string header;
};

class FrameReaderHeaders : public ::testing::TestWithParam<BadHeader>
{
};

// Refused as soon as the seven bytes are in: no body is read, waited for or reserved.
TEST_P(FrameReaderHeaders, AreRefusedBeforeAnyBody)
{
    CFrameReader reader(kCap);
    const std::string stream = FrameOf("5001") + GetParam().header;
    EXPECT_EQ(Feed(reader, stream, 7), (std::vector<std::string>{"5001", "-4"}));
    EXPECT_FALSE(reader.Begun());
}

std::string Header(std::string_view marker, std::uint32_t length)
{
    const std::uint32_t net = htonl(length);
    return std::string(marker) + std::string(reinterpret_cast<const char*>(&net), 4);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FrameReaderHeaders,
    ::testing::Values(BadHeader{"WrongMarker", Header("<?>", 4)},
                      BadHeader{"ZeroLength", Header("<!>", 0)},
                      BadHeader{"TopBitSet", Header("<!>", 0x80000004u)},
                      BadHeader{"OneAboveTheCap", Header("<!>", kCap + 1)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
