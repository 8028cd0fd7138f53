#pragma once

#include "visitor_entry.h"

#include <QStandardItemModel>
#include <vector>

// The visitors list as plain rows, newest first: the caption over the page address, then the
// IP address over the time stamp. Rows are found by id (ListRole::Id); an invited visitor's
// row is drawn in red. Fed by the session bridge's visitor signals.
class CBasicVisitorModel final : public QStandardItemModel
{
    Q_OBJECT

public:
    explicit CBasicVisitorModel(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void Refresh(const std::vector<CVisitorEntry>& visitors);
    void Add(const CVisitorEntry& entry);
    void Remove(const CVisitorEntry& entry);
    void MarkInvited(const CVisitorEntry& entry);

    // The row listing that visitor, or -1.
    int RowOf(int visitorId) const;

private:
    QList<QStandardItem*> MakeRow(const CVisitorEntry& entry) const;
};
