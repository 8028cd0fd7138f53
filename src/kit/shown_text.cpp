#include "shown_text.h"

#include <QCoreApplication>
#include <QTextBoundaryFinder>

namespace {

const QChar kEllipsis(0x2026);
const QChar kBreakOpportunity(0x200B); // zero width space

bool IsDirectionControl(char16_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E ||
           c == 0x200F || c == 0x061C;
}

// At most maxChars characters, cut at a grapheme boundary so no character is split.
qsizetype CutPoint(const QString& text, qsizetype maxChars)
{
    if (text.size() <= maxChars)
        return text.size();
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    graphemes.setPosition(maxChars);
    if (graphemes.isAtBoundary())
        return maxChars;
    const qsizetype previous = graphemes.toPreviousBoundary();
    return previous > 0 ? previous : maxChars;
}

} // namespace

QString ShownLine(const QString& text, int maxChars)
{
    // Cleaned from a bounded prefix: a huge name costs no more than a short one.
    const QStringView head = QStringView(text).left(qsizetype(maxChars) * 2 + 16);
    QString shown;
    shown.reserve(head.size());
    for (const QChar c : head) {
        if (IsDirectionControl(c.unicode()))
            continue;
        shown.append(c.category() == QChar::Other_Control ? QChar(u' ') : c);
    }
    const bool cut = shown.size() > maxChars || head.size() < text.size();
    if (!cut)
        return shown;
    shown.truncate(CutPoint(shown, maxChars > 0 ? maxChars - 1 : 0));
    return shown + kEllipsis;
}

QString ShownMessage(const QString& text, int maxChars, int maxLines)
{
    QString shown;
    shown.reserve(qMin<qsizetype>(text.size(), maxChars) + maxChars / kLongRun + 1);
    qsizetype used = 0;
    int lines = 1;
    int run = 0;
    for (; used < text.size(); ++used) {
        const QChar c = text.at(used);
        if (c == u'\n') {
            if (lines == maxLines)
                break;
            ++lines;
            run = 0;
            shown.append(c);
            continue;
        }
        if (IsDirectionControl(c.unicode()) || c == u'\r')
            continue;
        // The second half of a pair is always kept with its first, or a cut would show half a
        // character.
        if (shown.size() >= maxChars && !c.isLowSurrogate())
            break;
        if (c.isSpace() || c.category() == QChar::Other_Control) {
            run = 0;
            shown.append(c.category() == QChar::Other_Control ? QChar(u' ') : c);
            continue;
        }
        if (++run > kLongRun && !c.isLowSurrogate()) {
            shown.append(kBreakOpportunity);
            run = 1;
        }
        shown.append(c);
    }
    if (used >= text.size())
        return shown;
    // Counted up to a billion; no digit separators here, which lupdate would read as quotes.
    const auto left = static_cast<int>(qMin<qsizetype>(text.size() - used, 1000000000));
    return shown + u'\n' +
           QCoreApplication::translate("ShownText", "[%n more character(s) not shown]", nullptr,
                                       left);
}

QString PlainToolTip(const QString& text)
{
    if (text.isEmpty())
        return {};
    // Marked up on purpose, with the text escaped: a tool-tip that is markup shows the escaped
    // characters as they are, and one that merely looks like markup is never guessed at.
    return QStringLiteral("<p style='white-space:pre'>") + ShownLine(text, 500).toHtmlEscaped() +
           QStringLiteral("</p>");
}
