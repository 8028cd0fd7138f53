#include "visitor_list_model.h"

#include "session_bridge.h"
#include "app_settings.h"
#include "server_time.h"
#include "shown_text.h"
#include "wildcard.h"

#include <algorithm>

struct CVisitorListModel::Row final : CRowSequence::Node
{
    CVisitorEntry record;
    // What the row shows, made safe to show once, when the row is made.
    QString caption;
    QString address;
    QString ip;
    QString time;
};

CVisitorListModel::CVisitorListModel(const CAppSettings* settings, QObject* parent)
    : QAbstractTableModel(parent), m_settings(settings)
{
}

CVisitorListModel::~CVisitorListModel() = default;

void CVisitorListModel::Follow(const CSessionBridge& bridge)
{
    connect(&bridge, &CSessionBridge::VisitorsRefreshed, this,
            [this](const std::vector<CVisitorEntry>& visitors) {
                Reset(visitors);
                emit Listed(rowCount());
            });
    connect(&bridge, &CSessionBridge::VisitorAdded, this, [this](const CVisitorEntry& entry) {
        if (AddVisitor(entry))
            emit VisitorArrived(entry);
    });
    connect(&bridge, &CSessionBridge::VisitorRemoved, this,
            [this](const CVisitorEntry& entry) { RemoveVisitor(entry); });
    connect(&bridge, &CSessionBridge::VisitorInvited, this,
            [this](const CVisitorEntry& entry) { MarkInvited(entry.id); });
    connect(&bridge, &CSessionBridge::LoggedIn, this, &CVisitorListModel::Clear);
    connect(&bridge, &CSessionBridge::LoggedOut, this, [this] { Clear(); });
}

int CVisitorListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.Count();
}

int CVisitorListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CVisitorListModel::data(const QModelIndex& index, int role) const
{
    const Row* row = index.isValid() ? RowAt(index.row()) : nullptr;
    if (!row)
        return {};
    const CVisitorEntry& r = row->record;
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == kGroupColumn)
            return QString::number(r.number2);
        return {};
    case Qt::AccessibleTextRole: {
        // What the row shows, for screen readers: the column's own text is only the group key.
        QStringList said;
        if (index.column() == kGroupColumn) {
            said = {row->caption, row->address, tr("%n minute(s)", nullptr, r.minutes)};
            if (r.invited)
                said.append(tr("invited"));
        } else {
            said = {tr("IP: %1").arg(row->ip), row->time};
        }
        said.removeAll(QString());
        return said.join(QStringLiteral(", "));
    }
    case IdRole:
        return r.id;
    case GroupKeyRole:
        return r.number2;
    case CaptionRole:
        return row->caption;
    case AddressRole:
        return row->address;
    case MinutesRole:
        return r.minutes;
    case InvitedRole:
        return r.invited;
    case IpRole:
        return row->ip;
    case TimeRole:
        return row->time;
    default:
        return {};
    }
}

QVariant CVisitorListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QString();
    return QAbstractTableModel::headerData(section, orientation, role);
}

CVisitorListModel::Patterns CVisitorListModel::CurrentPatterns() const
{
    Patterns patterns;
    for (std::size_t i = 0; i < patterns.size(); ++i)
        patterns[i] = m_settings->m_baseUrl[i].toStdString();
    return patterns;
}

CVisitorListModel::Blocked CVisitorListModel::CurrentBlocked() const
{
    return m_settings->m_blockIp;
}

bool CVisitorListModel::IsBlockedBy(const CVisitorEntry& entry, const Blocked& blocked)
{
    // Whole texts, letter case ignored. An empty value takes part like any other, so an entry
    // without an IP text is blocked while one of the five is empty.
    const QString ip = QString::fromStdString(entry.text5);
    return std::any_of(blocked.begin(), blocked.end(), [&ip](const QString& value) {
        return ip.compare(value, Qt::CaseInsensitive) == 0;
    });
}

bool CVisitorListModel::IsBlocked(const CVisitorEntry& entry) const
{
    return IsBlockedBy(entry, CurrentBlocked());
}

CVisitorListModel::Row* CVisitorListModel::RowAt(int row) const
{
    return static_cast<Row*>(m_rows.At(row));
}

const CVisitorEntry* CVisitorListModel::Record(int row) const
{
    const Row* r = RowAt(row);
    return r ? &r->record : nullptr;
}

CVisitorListModel::Row* CVisitorListModel::FindFirst(std::int32_t visitorId) const
{
    const auto found = m_byId.find(visitorId);
    if (found == m_byId.end())
        return nullptr;
    const auto& rows = found->second;
    if (rows.size() == 1)
        return rows.front().get();
    Row* first = nullptr;
    int firstRow = 0;
    for (const auto& r : rows) {
        const int at = m_rows.RowOf(r.get());
        if (!first || at < firstRow) {
            first = r.get();
            firstRow = at;
        }
    }
    return first;
}

int CVisitorListModel::RowOfId(std::int32_t visitorId) const
{
    const Row* row = FindFirst(visitorId);
    return row ? m_rows.RowOf(row) : -1;
}

int CVisitorListModel::GroupPosition(std::int32_t groupKey) const
{
    const auto top = m_groupTop.find(groupKey);
    return top == m_groupTop.end() ? 0 : m_rows.RowOf(top->second);
}

CVisitorListModel::Row* CVisitorListModel::Link(const CVisitorEntry& entry,
                                                const Patterns& patterns)
{
    auto row = std::make_unique<Row>();
    row->record = entry;
    row->record.text1 = StripDomainLastMatch(entry.text1, patterns);
    row->record.invited = false;
    row->record.minutes = 0;
    row->caption = ShownLine(QString::fromStdString(entry.text2));
    row->address = ShownLine(QString::fromStdString(row->record.text1), 2000);
    row->ip = ShownLine(QString::fromStdString(entry.text5), 100);
    // A visitor who arrives while the console runs carries the server's UTC text; the listed
    // ones were converted when the list was loaded, and a converted text passes unchanged.
    row->time = ShownLine(QString::fromStdString(ServerTimeToLocal(entry.time)), 100);
    Row* linked = row.get();
    m_rows.Insert(GroupPosition(entry.number2), linked);
    m_groupTop[entry.number2] = linked;
    m_byId[entry.id].push_back(std::move(row));
    return linked;
}

void CVisitorListModel::Unlink(Row* row)
{
    const std::int32_t key = row->record.number2;
    const auto top = m_groupTop.find(key);
    if (top != m_groupTop.end() && top->second == row) {
        // The group's rows are together, so its next row, if any, is directly below.
        auto* next = static_cast<Row*>(CRowSequence::Next(row));
        if (next && next->record.number2 == key)
            top->second = next;
        else
            m_groupTop.erase(top);
    }
    m_rows.Erase(row);
}

void CVisitorListModel::ForgetAll()
{
    m_rows.Clear();
    m_groupTop.clear();
    m_byId.clear();
}

void CVisitorListModel::Reset(const std::vector<CVisitorEntry>& entries)
{
    const Patterns patterns = CurrentPatterns();
    const Blocked blocked = CurrentBlocked();
    beginResetModel();
    ForgetAll();
    m_byId.reserve(entries.size());
    for (const CVisitorEntry& entry : entries) {
        if (!IsBlockedBy(entry, blocked))
            Link(entry, patterns);
    }
    endResetModel();
}

bool CVisitorListModel::AddVisitor(const CVisitorEntry& entry)
{
    if (IsBlocked(entry) || m_byId.contains(entry.id))
        return false;
    const int at = GroupPosition(entry.number2);
    beginInsertRows({}, at, at);
    Link(entry, CurrentPatterns());
    endInsertRows();
    return true;
}

bool CVisitorListModel::RemoveVisitor(const CVisitorEntry& entry)
{
    // Looked up by id whatever the blocked addresses say now: a visitor listed before its
    // address was blocked must still leave the list.
    Row* row = FindFirst(entry.id);
    if (!row)
        return false;
    const int at = m_rows.RowOf(row);
    beginRemoveRows({}, at, at);
    Unlink(row);
    // The record is freed after the views have been told, never while they might read it.
    const auto found = m_byId.find(entry.id);
    auto& rows = found->second;
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [row](const std::unique_ptr<Row>& r) { return r.get() == row; });
    const std::unique_ptr<Row> owned = std::move(*it);
    rows.erase(it);
    if (rows.empty())
        m_byId.erase(found);
    endRemoveRows();
    return true;
}

bool CVisitorListModel::MarkInvited(std::int32_t visitorId)
{
    Row* row = FindFirst(visitorId);
    if (!row)
        return false;
    row->record.invited = true;
    const int at = m_rows.RowOf(row);
    emit dataChanged(index(at, 0), index(at, kColumnCount - 1), {InvitedRole});
    return true;
}

bool CVisitorListModel::MarkInvitedAt(int row)
{
    Row* r = RowAt(row);
    if (!r)
        return false;
    r->record.invited = true;
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1), {InvitedRole});
    return true;
}

void CVisitorListModel::TickMinutes()
{
    if (m_byId.empty())
        return;
    for (auto& [id, rows] : m_byId) {
        for (auto& row : rows)
            ++row->record.minutes;
    }
    emit dataChanged(index(0, 0), index(m_rows.Count() - 1, kColumnCount - 1), {MinutesRole});
}

void CVisitorListModel::Clear()
{
    beginResetModel();
    ForgetAll();
    endResetModel();
}
