#include "missed_chats.h"

#include <QFont>
#include <QLocale>
#include <algorithm>

CMissedChats::CMissedChats(const QString& filePath, QObject* parent)
    : QAbstractTableModel(parent), m_file(filePath),
      m_clock([] { return QDateTime::currentDateTimeUtc(); })
{
}

void CMissedChats::SetClock(Clock clock)
{
    m_clock = std::move(clock);
}

void CMissedChats::SetKeepFor(std::chrono::milliseconds keepFor)
{
    m_keepFor = keepFor;
}

QString CMissedChats::Title()
{
    return tr("Missed chats");
}

void CMissedChats::Load()
{
    m_loaded = true;
    QString error;
    std::optional<QList<CMissedChat>> entries = m_file.Load(&error);
    if (!entries)
        emit Note(tr("The list of missed chats could not be read and starts empty: %1").arg(error));
    QList<CMissedChat> loaded = entries.value_or(QList<CMissedChat>());
    std::sort(loaded.begin(), loaded.end(),
              [](const CMissedChat& a, const CMissedChat& b) { return a.time > b.time; });
    Replace(std::move(loaded));
    Prune();
}

void CMissedChats::Add(CMissedChat chat)
{
    if (!m_loaded)
        Load();
    chat.time = m_clock();
    chat.seen = false;
    beginInsertRows({}, 0, 0);
    m_entries.prepend(std::move(chat));
    endInsertRows();
    Prune();
    Save();
    emit UnseenCountChanged(UnseenCount());
}

void CMissedChats::MarkAllSeen()
{
    if (!m_loaded)
        Load();
    if (UnseenCount() == 0)
        return;
    for (CMissedChat& chat : m_entries)
        chat.seen = true;
    emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    Save();
    emit UnseenCountChanged(0);
}

int CMissedChats::UnseenCount() const
{
    return static_cast<int>(std::count_if(m_entries.begin(), m_entries.end(),
                                          [](const CMissedChat& chat) { return !chat.seen; }));
}

void CMissedChats::Replace(QList<CMissedChat> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
    emit UnseenCountChanged(UnseenCount());
}

void CMissedChats::Prune()
{
    // Newest first: the old ones are a tail.
    const QDateTime oldest = m_clock().addMSecs(-m_keepFor.count());
    const auto first =
        std::find_if(m_entries.begin(), m_entries.end(),
                     [&oldest](const CMissedChat& chat) { return chat.time < oldest; });
    const int from = static_cast<int>(first - m_entries.begin());
    if (from == m_entries.size())
        return;
    beginRemoveRows({}, from, static_cast<int>(m_entries.size()) - 1);
    m_entries.erase(first, m_entries.end());
    endRemoveRows();
    emit UnseenCountChanged(UnseenCount());
}

void CMissedChats::Save()
{
    QString error;
    if (!m_file.Save(m_entries, &error))
        emit Note(tr("The list of missed chats could not be saved: %1").arg(error));
}

int CMissedChats::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int CMissedChats::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CMissedChats::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const CMissedChat& chat = m_entries.at(index.row());
    const bool transfer = chat.kind == CMissedChat::kKindTransfer;
    if (role == Qt::FontRole && !chat.seen) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case TimeColumn:
        return QLocale().toString(chat.time.toLocalTime(), QLocale::ShortFormat);
    case FromColumn:
        return transfer ? QStringLiteral("%1 %2").arg(chat.text1, chat.text2).trimmed()
                        : chat.text1;
    case KindColumn:
        return transfer ? tr("Call transfer") : tr("Chat request");
    case DetailsColumn:
        return transfer ? chat.text3 : chat.text2;
    default:
        return {};
    }
}

QVariant CMissedChats::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case TimeColumn:
        return tr("Time");
    case FromColumn:
        return tr("From");
    case KindColumn:
        return tr("Kind");
    case DetailsColumn:
        return tr("Details");
    default:
        return {};
    }
}
