#include "canned_text.h"

#include <QStringDecoder>
#include <array>

namespace {

// Windows-1252 from 0x80 to 0x9F; its five unassigned bytes stand for themselves, as the
// Windows conversion functions have them. Every other byte is its Latin-1 character.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString DecodeCp1252(const std::string& bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(byte >= 0x80 && byte <= 0x9F ? QChar(kCp1252High[byte - 0x80]) : QChar(byte));
    }
    return text;
}

} // namespace

CCannedText CCannedText::FromBytes(std::string bytes)
{
    CCannedText text;
    text.m_text = Decode(bytes);
    text.m_bytes = std::move(bytes);
    return text;
}

CCannedText CCannedText::FromText(const QString& text)
{
    CCannedText result;
    result.SetText(text);
    return result;
}

void CCannedText::SetText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    const QByteArray utf8 = text.toUtf8();
    m_bytes.assign(utf8.constData(), static_cast<size_t>(utf8.size()));
}

QString CCannedText::Decode(const std::string& bytes)
{
    // A byte order mark stays a character: the bytes are what the file holds, not a document.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? DecodeCp1252(bytes) : text;
}
