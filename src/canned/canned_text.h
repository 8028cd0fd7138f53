#pragma once

#include <QString>
#include <string>

// One text of the canned answers file as the trees show it. The file holds bytes: the console
// writes UTF-8, files from older consoles hold a Windows single-byte code page. The bytes are
// kept as read and written back unchanged for as long as the text is not changed, so a file
// goes through the dialog byte for byte whatever its encoding; a changed text is written as
// UTF-8.
class CCannedText final
{
public:
    CCannedText() = default;
    static CCannedText FromBytes(std::string bytes);
    static CCannedText FromText(const QString& text);

    const QString& Text() const { return m_text; }
    const std::string& Bytes() const { return m_bytes; }

    // Keeps the bytes when the text is the one shown already.
    void SetText(const QString& text);

    // UTF-8 when the bytes are valid UTF-8, else Windows-1252.
    static QString Decode(const std::string& bytes);

private:
    QString m_text;
    std::string m_bytes;
};
