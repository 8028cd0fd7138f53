#include "canned_answers.h"

#include <optional>

namespace {

class Reader final
{
public:
    explicit Reader(std::string_view bytes) : m_rest(bytes) {}

    // False at the end of the data.
    bool ReadUint32(std::uint32_t& value)
    {
        if (m_rest.size() < 4)
            return false;
        value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(m_rest[static_cast<size_t>(i)]);
        m_rest.remove_prefix(4);
        return true;
    }

    // False at the end of the data, or when the length runs past it; else text is the string,
    // or nothing for an absent one. The length is a signed 32-bit value on reading.
    bool ReadString(std::optional<std::string_view>& text)
    {
        std::uint32_t raw = 0;
        if (!ReadUint32(raw))
            return false;
        const auto length = static_cast<std::int32_t>(raw);
        if (length < 1) {
            text.reset();
            return true;
        }
        if (static_cast<std::uint32_t>(length) > m_rest.size())
            return false;
        text = m_rest.substr(0, static_cast<size_t>(length));
        m_rest.remove_prefix(static_cast<size_t>(length));
        return true;
    }

    bool AtEnd() const { return m_rest.empty(); }

private:
    std::string_view m_rest;
};

void AppendUint32(std::string& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void AppendString(std::string& out, const std::string& text)
{
    AppendUint32(out, static_cast<std::uint32_t>(text.size()));
    out += text;
}

} // namespace

CannedAnswers ParseCannedAnswers(std::string_view bytes, bool* whole)
{
    using namespace canned_format;
    CannedAnswers categories;
    Reader reader(bytes);
    if (whole)
        *whole = false;
    std::uint32_t header = 0;
    if (!reader.ReadUint32(header) || header != kHeader)
        return categories;

    constexpr size_t kNone = static_cast<size_t>(-1);
    size_t current = kNone;
    for (;;) {
        std::uint32_t tag = 0;
        if (!reader.ReadUint32(tag))
            break;
        if (tag == kCategory) {
            std::optional<std::string_view> name;
            if (!reader.ReadString(name))
                break;
            if (name) {
                categories.push_back({std::string(*name), {}, true});
                current = categories.size() - 1;
            }
        } else if (tag == kAnswer) {
            // Both strings are always read: the writer always writes both, and taking the
            // message's length for the next tag after an absent title would lose the rest of
            // the file.
            std::optional<std::string_view> title;
            std::optional<std::string_view> message;
            if (!reader.ReadString(title) || !reader.ReadString(message))
                break;
            if (title && message && current != kNone)
                categories[current].answers.push_back({std::string(*title), std::string(*message)});
        } else {
            if (whole)
                *whole = tag == kEnd && reader.AtEnd();
            break; // the end record, or a tag this reader does not know
        }
    }
    return categories;
}

std::string SerializeCannedAnswers(const CannedAnswers& categories)
{
    using namespace canned_format;
    std::string out;
    AppendUint32(out, kHeader);
    for (const CannedCategory& category : categories) {
        AppendUint32(out, kCategory);
        AppendString(out, category.name);
        for (const CannedAnswer& answer : category.answers) {
            AppendUint32(out, kAnswer);
            AppendString(out, answer.title);
            AppendString(out, answer.message);
        }
    }
    AppendUint32(out, kEnd);
    return out;
}

CannedAnswers BuiltInCannedAnswers()
{
    // Double quotes around the attributes: the chat window turns apostrophes into backticks
    // when it sends a message.
    const std::string link = std::string("<a href=\"") + kServiceSiteAddress +
                             "\" target=\"_blank\">" + kServiceSiteName + "</a>";
    return {
        {"Links", {{kServiceSiteName, link}}, false},
        {"Greetings",
         {{"Welcome", "Hello, thank you for calling me. How can I help you today?"},
          {"Good bye", "It's been a pleasure chatting with you, please do not hesitate to "
                       "contact me again with any questions."}},
         false},
    };
}
