#include "canned_match_model.h"

#include "canned_matcher.h"

CCannedMatchModel::CCannedMatchModel(const CCannedMatcher& matcher, QObject* parent)
    : QAbstractListModel(parent), m_matcher(matcher)
{
}

void CCannedMatchModel::SetEntries(std::vector<size_t> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

int CCannedMatchModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant CCannedMatchModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const CCannedMatcher::Entry& entry = m_matcher.At(EntryAt(index.row()));
    switch (role) {
    case Qt::DisplayRole:
        return entry.title;
    case Qt::ToolTipRole:
    case MessageRole:
        return entry.message;
    case CategoryRole:
        return entry.category;
    default:
        return {};
    }
}
