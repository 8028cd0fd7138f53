// Arbitrary bytes as a canned answers file. The parser must stay within the data and reserve
// nothing for lengths the data does not have; what it yields must write back to a file that
// parses to the same tree, and such a file must be its own fixed point.
#include "canned_answers.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const CannedAnswers tree = ParseCannedAnswers(bytes);

    size_t textBytes = 0;
    for (const CannedCategory& category : tree) {
        if (category.name.empty() || !category.expanded)
            __builtin_trap();
        textBytes += category.name.size();
        for (const CannedAnswer& answer : category.answers) {
            if (answer.title.empty() || answer.message.empty())
                __builtin_trap();
            textBytes += answer.title.size() + answer.message.size();
        }
    }
    if (textBytes > size)
        __builtin_trap();

    const std::string written = SerializeCannedAnswers(tree);
    const CannedAnswers reread = ParseCannedAnswers(written);
    if (reread != tree || SerializeCannedAnswers(reread) != written)
        __builtin_trap();
    return 0;
}
