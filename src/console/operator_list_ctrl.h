#pragma once

#include <QTreeView>

class COperatorRowDelegate;

// The operators list as the operator sees it: a report list with "Agent Name", "Agent Status"
// and "Agent Host", several rows selectable, the selection shown only while the list has the
// focus. Cells are drawn by COperatorRowDelegate.
class COperatorListCtrl final : public QTreeView
{
    Q_OBJECT

public:
    static constexpr int kNameWidth = 220;
    static constexpr int kStatusWidth = 120;
    static constexpr int kHostWidth = 100;

    explicit COperatorListCtrl(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    COperatorRowDelegate* m_delegate; // a child of the view
};
