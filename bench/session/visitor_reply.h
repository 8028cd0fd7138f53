#pragma once

#include <cstdio>
#include <string>

// A reply 9001/1007 as the server sends it, with count visitors shaped like real ones.
inline std::string VisitorReplyPayload(int count, int firstId = 1)
{
    std::string out = "9001"
                      "1007<~>" +
                      std::to_string(count) + "<~>";
    out.reserve(out.size() + static_cast<size_t>(count) * 140);
    char record[256];
    for (int i = 0; i < count; ++i) {
        const int id = firstId + i;
        std::snprintf(record, sizeof record,
                      "%d<~>%d<~>http://www.example.com/products/item%d.html<~>Visitor %d<~>"
                      "Mozilla/5.0<~>2024-%d-%d %d:%d:%d<~>10.%d.%d.%d<~>%d<~>",
                      id, i % 7, id, id, 1 + i % 12, 1 + i % 28, i % 24, i % 60, (i * 7) % 60,
                      i % 250, (i / 250) % 250, i % 200, i % 5);
        out += record;
    }
    return out;
}
