#include "transcript_look.h"

#include "contrast.h"

#include <QDateTime>
#include <QLocale>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

namespace {

// Marks a paragraph that holds a line. A new or cleared document has one empty unmarked
// paragraph, which the first line fills; every later line starts a paragraph of its own. Marking
// the document rather than keeping a flag keeps an empty first line and clear() both right.
constexpr int kLineState = 1;

// The document breaks paragraphs on '\n' only; a '\r' would be drawn as a stray glyph.
QString Shown(const QString& text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

QColor ForBackground(QRgb rgb, const QColor& background)
{
    const QColor colour = QColor::fromRgb(rgb);
    return background.isValid() ? ReadableOn(colour, {background}) : colour;
}

} // namespace

QTextCharFormat CTranscriptLook::Format(Part part, const QColor& background)
{
    QRgb colour = kChatTextColour;
    bool bold = false;
    switch (part) {
    case Part::OwnName:
        colour = kOwnNameColour;
        bold = true;
        break;
    case Part::OtherName:
        colour = kOtherNameColour;
        bold = true;
        break;
    case Part::ChatText:
        break;
    case Part::Address:
        colour = kAddressColour;
        break;
    case Part::Notice:
        colour = kNoticeColour;
        bold = true;
        break;
    case Part::Time:
        colour = kTimeColour;
        break;
    case Part::Heading: {
        // The page's or the palette's own text colour.
        QTextCharFormat heading;
        heading.setFontWeight(QFont::Bold);
        heading.setFontUnderline(false);
        return heading;
    }
    }
    QTextCharFormat format;
    format.setForeground(ForBackground(colour, background));
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontUnderline(false);
    return format;
}

QTextCharFormat CTranscriptLook::MatchFormat()
{
    QTextCharFormat format;
    format.setBackground(QColor(255, 221, 0));
    format.setForeground(QColor(0, 0, 0));
    return format;
}

void CTranscriptLook::AppendParagraph(QTextCursor& cursor, const QString& text,
                                      const QTextCharFormat& format)
{
    cursor.movePosition(QTextCursor::End);
    if (cursor.block().userState() == kLineState)
        cursor.insertBlock(QTextBlockFormat(), format);
    cursor.insertText(Shown(text), format);
    cursor.block().setUserState(kLineState);
}

int CTranscriptLook::Append(QTextCursor& cursor, const CTranscriptLine& line, bool showTime,
                            const QColor& background)
{
    // Starts the line's first paragraph, with the time when times are shown.
    const auto open = [&](const QTextCharFormat& format) {
        if (showTime)
            AppendParagraph(cursor, TimeText(line.at) + QLatin1Char(' '), Format(Part::Time, background));
        else
            AppendParagraph(cursor, QString(), format);
    };
    const bool spoken =
        line.kind == LineKind::Line || line.kind == LineKind::Link || line.kind == LineKind::Image;
    QTextCharFormat textFormat = Format(Part::Notice, background);
    if (spoken) {
        const QTextCharFormat name = Format(line.own ? Part::OwnName : Part::OtherName, background);
        open(name);
        cursor.insertText(Shown(line.speaker) + QLatin1Char(':'), name);
        textFormat = Format(line.kind == LineKind::Line ? Part::ChatText : Part::Address, background);
        AppendParagraph(cursor, QString(), textFormat);
    } else {
        open(textFormat);
    }
    const int start = cursor.position();
    cursor.insertText(Shown(line.text), textFormat);
    return start;
}

int CTranscriptLook::ShownOffset(const QString& text, int offset)
{
    int shown = offset;
    for (int i = 0; i + 1 < std::min<int>(offset, text.size()); ++i) {
        if (text[i] == QLatin1Char('\r') && text[i + 1] == QLatin1Char('\n'))
            --shown;
    }
    return shown;
}

QString CTranscriptLook::TimeText(qint64 at)
{
    return QLocale().toString(QDateTime::fromMSecsSinceEpoch(at).time(), QLocale::ShortFormat);
}

QString CTranscriptLook::DateTimeText(qint64 at)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(at);
    return QLocale().toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') + TimeText(at);
}
