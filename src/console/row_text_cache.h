#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>
#include <vector>

// Text of the list rows, laid out once and drawn many times. Laying out a line (shaping, eliding,
// wrapping) costs far more than drawing its glyphs, and a list repaints its visible rows whole
// every time a row comes or goes above them; the rows' texts rarely change, so their lines are
// kept, for the font and width they were laid out for, as prepared static texts.
//
// Plain text only: what visitors send is never read as markup. Entries are dropped all at once
// when there are too many (a list scrolled through, widths dragged), which only costs a layout.
class CRowTextCache final
{
public:
    // How a text is cut to its width.
    enum class Fit
    {
        Whole,   // one line as it is
        Elided,  // one line ending with an ellipsis when too long
        Wrapped, // up to maxLines lines, the last elided when text is left over
    };

    // The lines to draw, top to bottom.
    const std::vector<QStaticText>& Lines(const QString& text, const QFont& font, Fit fit,
                                          int width, int maxLines = 1);

private:
    struct Key
    {
        QString text;
        QFont font;
        Fit fit;
        int width;
        int maxLines;
        bool operator==(const Key& other) const = default;
        friend size_t qHash(const Key& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.text, qHash(key.font), static_cast<int>(key.fit), key.width,
                              key.maxLines);
        }
    };

    static std::vector<QStaticText> LayOut(const QString& text, const QFont& font, Fit fit,
                                           int width, int maxLines);

    QHash<Key, std::vector<QStaticText>> m_lines;
};
