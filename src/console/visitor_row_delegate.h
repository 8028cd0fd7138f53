#pragma once

#include "readable_colours.h"
#include "row_picture_cache.h"
#include "row_text_cache.h"

#include <QStyledItemDelegate>

// Draws one row of the visitors list, 48 pixels tall: the caption (red once the visitor has
// been invited), the display address below it, the minutes listed at the right of the first
// column, and the IP address and arrival time in the second. The row reads its display record
// through the model's roles at each draw; only the laid-out lines of its texts and the pictures
// of rows on screen are kept.
//
// The row's colours are its design's (red, blue, green) made just light or dark enough to read
// on the row's background in the palette at hand; the row that has the keyboard focus gets a
// frame in the highlight colour.
class CVisitorRowDelegate final : public QStyledItemDelegate, public IReadableColours
{
    Q_OBJECT

public:
    static constexpr int kRowHeight = 48;

    // The colours of a row, highlighted (selected) or not.
    struct Look
    {
        QColor background;
        QColor caption;
        QColor invitedCaption;
        QColor address;
        QColor minutes;
        QColor ip;
        QColor time;
        QColor grid;
        QColor focusFrame;
    };
    static Look LookFor(const QPalette& palette, bool highlighted);
    // In the palette of the view the delegate belongs to.
    QList<CColourPair> ColourPairs() const override;

    explicit CVisitorRowDelegate(QObject* parent = nullptr);

    // Draws the whole row of the index: option.rect is the row's bounds (from the left edge of
    // the first column to the right edge of the last), w0 and w1 the current widths of the
    // two columns. Highlighted when option.state has State_Selected, framed when it has
    // State_HasFocus.
    void PaintRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                  int w0, int w1) const;

    // In a table, each cell shows its part of the row's picture, the row drawn whole with the
    // column widths of the table's header; other views get the row once, for column 0, across
    // the cell.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view,
                   const QStyleOptionViewItem& option, const QModelIndex& index) override;
    // The default width of the column that shows the IP address and the time.
    static int IpColumnWidth(const QFont& font);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The minute count as the row shows it, trailing blank included.
    static QString MinutesText(int minutes);

private:
    static QString IpText(const QModelIndex& index);

    mutable CRowTextCache m_texts;
    mutable CRowPictureCache m_pictures;
};
