#include "canned_filter_model.h"

#include "canned_matcher.h"
#include "canned_tree_model.h"

CCannedFilterModel::CCannedFilterModel(QObject* parent) : QSortFilterProxyModel(parent)
{
    // A category stays while one of its answers is found.
    setRecursiveFilteringEnabled(true);
}

void CCannedFilterModel::SetQuery(const QString& query)
{
    if (query == m_query)
        return;
    m_query = query;
    invalidateFilter();
}

bool CCannedFilterModel::filterAcceptsRow(int row, const QModelIndex& parent) const
{
    if (m_query.trimmed().isEmpty())
        return true;
    const QModelIndex item = sourceModel()->index(row, 0, parent);
    if (!parent.isValid())
        return CCannedMatcher::Matches(m_query, {item.data().toString(), {}, {}});
    return CCannedMatcher::Matches(m_query, {parent.data().toString(), item.data().toString(),
                                             item.data(CCannedTreeModel::MessageRole).toString()});
}
