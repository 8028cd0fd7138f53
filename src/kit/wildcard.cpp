#include "wildcard.h"

std::optional<WildcardMatch> WildcardFind(std::string_view text, std::string_view pattern)
{
    if (text.empty()) {
        if (pattern.empty())
            return WildcardMatch{};
        return std::nullopt;
    }
    for (std::size_t s = 0; s < text.size(); ++s) {
        std::size_t i = 0;
        std::size_t j = s;
        for (;;) {
            if (i == pattern.size())
                return WildcardMatch{s, 0};
            if (j == text.size())
                return std::nullopt; // a later start has even less text left
            if (pattern[i] == '*') {
                if (i + 1 == pattern.size())
                    return WildcardMatch{s, 0};
                const auto rest = WildcardFind(text.substr(j), pattern.substr(i + 1));
                if (!rest) {
                    // Every later start reaches this star at a later place in the text, and the
                    // rest of the pattern cannot match anywhere there either: stop here instead of
                    // trying them all, which would take time exponential in the number of stars.
                    return std::nullopt;
                }
                // The star absorbed rest->position bytes but counts as one byte of the pattern.
                const auto run = static_cast<std::ptrdiff_t>(rest->position);
                return WildcardMatch{s, run - 1 + rest->extra};
            }
            if (pattern[i] != '?' && pattern[i] != text[j])
                break;
            ++i;
            ++j;
        }
    }
    return std::nullopt;
}

std::optional<std::string> StripDomain(std::string_view address, std::string_view pattern)
{
    const auto match = WildcardFind(address, pattern);
    if (!match)
        return std::nullopt;
    const std::size_t end = match->position + match->Length(pattern);
    if (end >= address.size())
        return std::nullopt;
    return std::string(address.substr(end));
}

std::string StripDomainLastMatch(std::string_view address, std::span<const std::string> patterns)
{
    std::string shown(address);
    for (const std::string& pattern : patterns) {
        if (pattern.empty())
            continue;
        if (auto rest = StripDomain(address, pattern))
            shown = std::move(*rest);
    }
    return shown;
}

std::string StripDomainChained(std::string_view address, std::span<const std::string> patterns)
{
    std::string shown(address);
    for (const std::string& pattern : patterns) {
        if (pattern.empty())
            continue;
        if (auto rest = StripDomain(shown, pattern))
            shown = std::move(*rest);
    }
    return shown;
}
