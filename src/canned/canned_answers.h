#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Prepared chat texts, grouped in named categories, as the canned answers file holds them and
// as the trees of the canned answers dialog and of each chat window show them. Texts are the
// file's bytes, kept byte for byte (the console writes UTF-8). Plain C++: the format code here
// does no I/O and is fuzzed without Qt.
struct CannedAnswer
{
    std::string title;   // what the operator sees in the tree
    std::string message; // what is put into the chat input box

    bool operator==(const CannedAnswer& other) const = default;
};

struct CannedCategory
{
    std::string name;
    std::vector<CannedAnswer> answers;
    // Categories read from a file open expanded in the trees; the built-in ones do not.
    bool expanded = false;

    bool operator==(const CannedCategory& other) const = default;
};

using CannedAnswers = std::vector<CannedCategory>;

// The file: every integer 32-bit little-endian; a header, then records that each start with a
// tag. A string is a length n and n bytes without a terminator; a length below 1 is an absent
// text, and an absent text is written as length 0.
namespace canned_format {
inline constexpr std::uint32_t kHeader = 80001;
inline constexpr std::uint32_t kCategory = 80002; // then the name
inline constexpr std::uint32_t kAnswer = 80003;   // then the title and the message
inline constexpr std::uint32_t kEnd = 80004;
} // namespace canned_format

// The categories of a file's bytes. A wrong or short header gives none. Reading stops at the
// end record, at an unknown tag and at the end of the data, keeping every whole record before
// it; a string length beyond the end of the data counts as that end, so a damaged length costs
// no memory. A category without a name, an answer without a title or message, and an answer
// before any category are skipped. whole, when given, tells whether the bytes were a whole file:
// the header, whole records of known tags, and the end record as the last four bytes (what an
// import asks of a file before it changes anything).
CannedAnswers ParseCannedAnswers(std::string_view bytes, bool* whole = nullptr);
// The bytes of a whole file for the categories, in order, each followed by its answers.
std::string SerializeCannedAnswers(const CannedAnswers& categories);

// The service's own web site, linked by the built-in "Links" answer.
inline constexpr char kServiceSiteName[] = "Parlendo";
inline constexpr char kServiceSiteAddress[] = "https://www.parlendo.net/";

// What an operator without a canned answers file starts with: "Links" with the service's web
// site, and "Greetings" with "Welcome" and "Good bye".
CannedAnswers BuiltInCannedAnswers();
