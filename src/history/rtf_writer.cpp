#include "rtf_writer.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>
#include <cstdint>

namespace {

// Index 0 of the colour table is the reader's automatic colour; text without an explicit
// colour refers to it.
class ColourTable final
{
public:
    int IndexOf(const QTextCharFormat& format)
    {
        if (format.foreground().style() == Qt::NoBrush)
            return 0;
        const QRgb rgb = format.foreground().color().rgb() & RGB_MASK;
        const qsizetype at = m_colours.indexOf(rgb);
        if (at >= 0)
            return static_cast<int>(at) + 1;
        m_colours.append(rgb);
        return static_cast<int>(m_colours.size());
    }

    QByteArray Rtf() const
    {
        QByteArray table = "{\\colortbl ;";
        for (const QRgb rgb : m_colours) {
            table += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" +
                     QByteArray::number(qGreen(rgb)) + "\\blue" + QByteArray::number(qBlue(rgb)) +
                     ';';
        }
        table += '}';
        return table;
    }

private:
    QList<QRgb> m_colours;
};

void AppendHexByte(QByteArray& out, unsigned byte)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\'";
    out += kHex[(byte >> 4) & 0xf];
    out += kHex[byte & 0xf];
}

void AppendUtf16Unit(QByteArray& out, char16_t unit)
{
    // \uN takes a signed 16-bit N. The fallback for readers without Unicode support follows as
    // a \'hh escape, not as a bare character: some readers take a bare '?' and the letters
    // after it as one word and drop them. Latin-1 letters fall back to themselves.
    out += "\\u";
    out += QByteArray::number(static_cast<int>(static_cast<std::int16_t>(unit)));
    AppendHexByte(out, unit >= 0xa0 && unit <= 0xff ? unit : '?');
}

void AppendEscapedText(QByteArray& out, const QString& text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (c == QChar::LineSeparator) {
            out += "\\line ";
        } else if (c == QChar::Nbsp) {
            out += "\\~";
        } else if (c < 0x20 || c == 0x7f) {
            AppendHexByte(out, c); // control characters carry nothing visible; keep them exact
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < n &&
                   QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            // Beyond the BMP: the pair of UTF-16 units, each as its own \u.
            AppendUtf16Unit(out, c);
            AppendUtf16Unit(out, text.at(++i).unicode());
        } else if (QChar::isSurrogate(c)) {
            AppendUtf16Unit(out, QChar::ReplacementCharacter); // half a pair is not a character
        } else {
            AppendUtf16Unit(out, c);
        }
    }
}

QByteArray FontTable(const QFont& font)
{
    QByteArray table = "{\\fonttbl{\\f0\\fnil\\fcharset0 ";
    // A ';' would end the entry early.
    AppendEscapedText(table, QString(font.family()).remove(QLatin1Char(';')));
    table += ";}}";
    return table;
}

int HalfPoints(const QFont& font)
{
    // Pixel-sized fonts have no point size; 10 pt is what readers use when none is given.
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : 10.0;
    return qRound(points * 2);
}

} // namespace

QByteArray RtfFromDocument(const QTextDocument& document)
{
    ColourTable colours;
    QByteArray body;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            // Each stretch is its own group, so its settings end with it and none leak into
            // the next one.
            body += "{\\cf" + QByteArray::number(colours.IndexOf(format));
            body += format.fontWeight() >= QFont::DemiBold ? "\\b" : "\\b0";
            body += format.fontItalic() ? "\\i" : "\\i0";
            body += format.fontUnderline() ? "\\ul" : "\\ulnone";
            body += ' ';
            AppendEscapedText(body, fragment.text());
            body += '}';
        }
        body += "\\par\n";
    }

    const QFont font = document.defaultFont();
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1";
    rtf += FontTable(font);
    rtf += colours.Rtf();
    rtf += "\n\\pard\\plain\\f0\\fs" + QByteArray::number(HalfPoints(font)) + '\n';
    rtf += body;
    rtf += "}\n";
    return rtf;
}
