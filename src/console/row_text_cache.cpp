#include "row_text_cache.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>

namespace {

// Enough for every text of a few screens of rows at two widths.
constexpr qsizetype kMaxEntries = 4096;

QStaticText Prepared(const QString& line, const QFont& font)
{
    QStaticText text(line);
    text.setTextFormat(Qt::PlainText);
    text.setPerformanceHint(QStaticText::AggressiveCaching);
    text.prepare(QTransform(), font);
    return text;
}

} // namespace

const std::vector<QStaticText>& CRowTextCache::Lines(const QString& text, const QFont& font,
                                                     Fit fit, int width, int maxLines)
{
    Key key{text, font, fit, width, fit == Fit::Wrapped ? maxLines : 1};
    const auto found = m_lines.constFind(key);
    if (found != m_lines.cend())
        return *found;
    if (m_lines.size() >= kMaxEntries)
        m_lines.clear();
    std::vector<QStaticText> lines = LayOut(text, font, fit, width, key.maxLines);
    return *m_lines.insert(std::move(key), std::move(lines));
}

std::vector<QStaticText> CRowTextCache::LayOut(const QString& text, const QFont& font, Fit fit,
                                               int width, int maxLines)
{
    const QFontMetrics metrics(font);
    if (fit == Fit::Whole)
        return {Prepared(text, font)};
    if (fit == Fit::Elided)
        return {Prepared(metrics.elidedText(text, Qt::ElideRight, width), font)};

    // Wrapped at word boundaries, anywhere inside a word longer than the line.
    std::vector<QStaticText> lines;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (static_cast<int>(lines.size()) == std::max(1, maxLines) - 1) {
            const QString rest = text.mid(line.textStart()).simplified();
            lines.push_back(Prepared(metrics.elidedText(rest, Qt::ElideRight, width), font));
            break;
        }
        lines.push_back(Prepared(text.mid(line.textStart(), line.textLength()).trimmed(), font));
    }
    layout.endLayout();
    return lines;
}
