#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CClientSocket;

// One protocol message: a four-character decimal code, then text fields each closed by "<~>".
// Fields are numbered from 1; there is no escaping, and an empty field reads back as missing.
// A value type without I/O of its own: Send and Receive go through a CClientSocket.
//
// Field access is constant time: each payload's delimiters are indexed once, as it arrives or
// as fields are added, so const access is safe from several threads.
class CSocketMessage final
{
public:
    static constexpr std::string_view kDelimiter = "<~>";

    // An empty message (code 0, no payload): the target of Receive.
    CSocketMessage() = default;
    // A message with code 1..9999 starts as the code printed "%4d". Any other code gives an
    // empty message, to which nothing can be added.
    explicit CSocketMessage(int code);

    // Appends text and the delimiter; an absent text counts as empty. 0, or -17 when empty.
    int AddField(std::string_view text);
    int AddField(const std::optional<std::string>& text);
    // Without it a std::string argument would be ambiguous between the two overloads above.
    int AddField(const std::string& text) { return AddField(std::string_view(text)); }
    int AddField(const char* text) { return AddField(text ? std::string_view(text) : std::string_view()); }
    int AddIntField(std::int32_t value);

    // The payload length on success, -17 for an empty message, else the frame layer's code.
    int Send(CClientSocket& socket) const;
    // Replaces the message with the next frame. The payload length on success (the code is
    // read when at least 4 bytes came), -16 for a negative code (the payload stays), or the
    // frame layer's negative code (the message stays empty).
    int Receive(CClientSocket& socket);

    // Field n (n <= 1 means 1), or nothing when missing or empty.
    std::optional<std::string> GetField(int n) const;
    // The same without a copy; valid until the message changes. Empty when missing.
    std::string_view FieldView(int n) const;
    bool HasField(int n) const;
    // Leading blanks, optional sign, digits; text that is not a number gives 0; a missing or
    // empty field gives -16.
    std::int32_t GetIntField(int n) const;
    // The number of fields (delimiters after the code).
    int FieldCount() const;

    bool IsEmpty() const { return m_length == 0; }
    int Length() const { return m_length; }
    int Code() const { return m_code; }
    // The payload bytes (without the trailing NUL), empty view for an empty message.
    std::string_view Payload() const { return {m_payload.data(), static_cast<size_t>(m_length)}; }

    // Builds a message from raw payload bytes, as Receive would (tests, the simulator, fuzzing).
    // Returns the Receive result for those bytes.
    int Assign(std::string_view payload);

private:
    int Adopt(int length);
    void Clear();
    void BuildIndex();
    void IndexFrom(std::uint32_t offset);
    // [begin, end) of field n within the payload, or false when missing.
    bool FieldSpan(int n, std::uint32_t& begin, std::uint32_t& end) const;

    std::int32_t m_length = 0;
    std::int32_t m_code = 0;
    std::vector<char> m_payload; // m_length bytes, then a NUL that is not counted
    // End offset of each delimiter-closed field.
    std::vector<std::uint32_t> m_fieldEnds;
};
