#pragma once

#include <QObject>

class QAbstractItemView;

// Shows an item's whole text as a tool tip when the view shows it cut off, and no tool tip
// when it fits. Lives as long as the view it watches.
class CCutOffToolTips final : public QObject
{
    Q_OBJECT

public:
    explicit CCutOffToolTips(QAbstractItemView* view);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* m_view;
    QObject* m_viewport;
};
