#pragma once

#include <QIcon>
#include <QList>
#include <QStyledItemDelegate>

// Draws one cell of the operators list: the status image before the name, "Agent Status" in
// blue and every other text in the window-text colour, in the list's font. A selected row is
// highlighted only while option.state says so; the view clears it when it loses the focus.
class COperatorRowDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int kImageSize = 16;

    explicit COperatorRowDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    // The operators image list: 0 status not known, 1 online, 2 busy, 3 away, 4 offline.
    QList<QIcon> m_images;
};
