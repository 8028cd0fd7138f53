#include "history_chat_model.h"

#include "chat_archive.h"
#include "transcript_look.h"

#include <algorithm>

CHistoryChatModel::CHistoryChatModel(CChatArchive& archive, QObject* parent)
    : QAbstractTableModel(parent), m_archive(archive)
{
}

void CHistoryChatModel::SetFilter(const CChatFilter& filter)
{
    const bool searchToggled = filter.search.isEmpty() != m_filter.search.isEmpty();
    m_filter = filter;
    Load(kPage);
    if (searchToggled)
        emit headerDataChanged(Qt::Horizontal, Lines, Lines);
}

void CHistoryChatModel::Reload()
{
    Load(std::max<int>(kPage, static_cast<int>(m_chats.size())));
}

void CHistoryChatModel::Load(int count)
{
    beginResetModel();
    m_chats = m_archive.Chats(m_filter, count);
    m_complete = m_chats.size() < count;
    endResetModel();
}

int CHistoryChatModel::RowOf(qint64 chatId) const
{
    for (qsizetype row = 0; row < m_chats.size(); ++row) {
        if (m_chats[row].id == chatId)
            return static_cast<int>(row);
    }
    return -1;
}

int CHistoryChatModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_chats.size());
}

int CHistoryChatModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CHistoryChatModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_chats.size())
        return {};
    const CArchivedChat& chat = m_chats[index.row()];
    if (role == Qt::TextAlignmentRole && index.column() == Lines)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case Started:
        return CTranscriptLook::DateTimeText(chat.started);
    case Visitor:
        return chat.visitor.isEmpty() ? tr("(call %1)").arg(chat.callId) : chat.visitor;
    case Operator:
        return chat.operatorName;
    case Lines:
        return m_filter.search.isEmpty() ? chat.lineCount : chat.matchCount;
    case Transferred:
        return chat.transferred ? tr("Yes") : QString();
    default:
        return {};
    }
}

QVariant CHistoryChatModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Started:
        return tr("Started");
    case Visitor:
        return tr("Visitor");
    case Operator:
        return tr("Operator");
    case Lines:
        return m_filter.search.isEmpty() ? tr("Lines") : tr("Matches");
    case Transferred:
        return tr("Transferred");
    default:
        return {};
    }
}

bool CHistoryChatModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_complete;
}

void CHistoryChatModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || m_complete || m_chats.isEmpty())
        return;
    const QList<CArchivedChat> more = m_archive.Chats(m_filter, kPage, &m_chats.last());
    m_complete = more.size() < kPage;
    if (more.isEmpty())
        return;
    const int first = static_cast<int>(m_chats.size());
    beginInsertRows({}, first, first + static_cast<int>(more.size()) - 1);
    m_chats.append(more);
    endInsertRows();
}
