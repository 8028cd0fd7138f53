#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Domain-name patterns ("BaseUrl1" .. "BaseUrl5") take out the part of a visitor's page address
// that the operator knows anyway, such as "http://www.example.com". Texts are byte strings
// compared byte by byte, letter case significant; "?" matches any one byte and "*" a run of
// bytes, every other byte itself.

struct WildcardMatch final
{
    std::size_t position = 0; // where the match starts in the text
    // The matched length is the pattern's length plus extra. A "*" counts as one byte of the
    // pattern, so extra is the bytes its runs absorbed less one per star, and can be negative.
    std::ptrdiff_t extra = 0;

    std::size_t Length(std::string_view pattern) const
    {
        return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(pattern.size()) + extra);
    }
};

// The first start position at which the pattern matches a piece of the text beginning there
// (the pattern need not reach the end of the text). A "*" takes the shortest run after which
// the rest of the pattern matches; a "*" that ends the pattern takes exactly one byte. An empty
// text matches only an empty pattern.
std::optional<WildcardMatch> WildcardFind(std::string_view text, std::string_view pattern);

// What follows the first match of the pattern in the address; nothing when the pattern does not
// match or nothing follows the match.
std::optional<std::string> StripDomain(std::string_view address, std::string_view pattern);

// The address a visitors-list row shows: every non-empty pattern is tried on the address as
// received, and the last one that gives a result decides.
std::string StripDomainLastMatch(std::string_view address, std::span<const std::string> patterns);

// The address the visitor-entered popup shows: each non-empty pattern in turn is applied to what
// the earlier ones left.
std::string StripDomainChained(std::string_view address, std::span<const std::string> patterns);
