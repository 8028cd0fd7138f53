#pragma once

#include <QSortFilterProxyModel>

// The canned answers dialog's tree as its search field filters it: the answers that
// CCannedMatcher finds for the query, under their categories; a category whose name answers
// the query shows all its answers. Everything while the query is empty.
class CCannedFilterModel final : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit CCannedFilterModel(QObject* parent = nullptr);

    void SetQuery(const QString& query);

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    QString m_query;
};
