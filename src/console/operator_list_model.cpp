#include "operator_list_model.h"

#include "session_bridge.h"
#include "message_codes.h"
#include "shown_text.h"
#include "status_word.h"

#include <algorithm>

struct COperatorListModel::Row final : CRowSequence::Node
{
    std::int32_t id = 0;
    QString name;
    QString statusWord;
    int image = kImageNone;
    QString host;
};

COperatorListModel::COperatorListModel(QObject* parent) : QAbstractTableModel(parent) {}

COperatorListModel::~COperatorListModel() = default;

void COperatorListModel::Follow(const CSessionBridge& bridge)
{
    connect(&bridge, &CSessionBridge::OperatorsRefreshed, this, &COperatorListModel::Reset);
    connect(&bridge, &CSessionBridge::OperatorAdded, this, &COperatorListModel::Add);
    connect(&bridge, &CSessionBridge::OperatorUpdated, this, &COperatorListModel::Update);
    connect(&bridge, &CSessionBridge::OperatorRemoved, this, &COperatorListModel::Remove);
    // The server tells the others of a change of the operator's own status, and this console
    // only through its confirmation: the own row follows that.
    connect(&bridge, &CSessionBridge::StatusChanged, this, [this, &bridge](int status) {
        CUserEntry own;
        own.id = bridge.OperatorId();
        own.type = UserType::kOperator;
        own.status = status;
        Update(own);
    });
    connect(&bridge, &CSessionBridge::LoggedIn, this, &COperatorListModel::Clear);
    connect(&bridge, &CSessionBridge::LoggedOut, this, [this] { Clear(); });
}

int COperatorListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.Count();
}

int COperatorListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant COperatorListModel::data(const QModelIndex& index, int role) const
{
    const Row* row = index.isValid() ? RowAt(index.row()) : nullptr;
    if (!row)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case kNameColumn:
            return row->name;
        case kStatusColumn:
            return row->statusWord;
        case kHostColumn:
            return row->host;
        default:
            return {};
        }
    case IdRole:
        return row->id;
    case ImageRole:
        return row->image;
    default:
        return {};
    }
}

QVariant COperatorListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case kNameColumn:
        return tr("Agent Name");
    case kStatusColumn:
        return tr("Agent Status");
    case kHostColumn:
        return tr("Agent Host");
    default:
        return {};
    }
}

void COperatorListModel::SetStatus(Row* row, int status)
{
    row->statusWord = StatusWord(status);
    switch (status) {
    case OperatorStatus::kOnline:
        row->image = kImageOnline;
        break;
    case OperatorStatus::kBusy:
    case OperatorStatus::kAway:
        row->image = kImageNotAvailable;
        break;
    default:
        break; // shown as online, the image as it was
    }
}

COperatorListModel::Row* COperatorListModel::RowAt(int row) const
{
    return static_cast<Row*>(m_rows.At(row));
}

COperatorListModel::Row* COperatorListModel::FindFirst(std::int32_t operatorId) const
{
    const auto found = m_byId.find(operatorId);
    if (found == m_byId.end())
        return nullptr;
    Row* first = nullptr;
    int firstRow = 0;
    for (const auto& r : found->second) {
        const int at = m_rows.RowOf(r.get());
        if (!first || at < firstRow) {
            first = r.get();
            firstRow = at;
        }
    }
    return first;
}

int COperatorListModel::RowOfId(std::int32_t operatorId) const
{
    const Row* row = FindFirst(operatorId);
    return row ? m_rows.RowOf(row) : -1;
}

COperatorListModel::Row* COperatorListModel::LinkOnTop(const CUserEntry& entry)
{
    auto row = std::make_unique<Row>();
    row->id = entry.id;
    row->name = ShownLine(QString::fromStdString(entry.text2 + ' ' + entry.text3));
    row->image = kImageNone;
    Row* linked = row.get();
    m_rows.Insert(0, linked);
    m_byId[entry.id].push_back(std::move(row));
    return linked;
}

void COperatorListModel::ForgetAll()
{
    m_rows.Clear();
    m_byId.clear();
}

void COperatorListModel::Reset(const std::vector<CUserEntry>& entries)
{
    beginResetModel();
    ForgetAll();
    for (const CUserEntry& entry : entries) {
        Row* row = LinkOnTop(entry);
        SetStatus(row, entry.status);
        row->host = ShownLine(QString::fromStdString(entry.text1));
    }
    endResetModel();
}

void COperatorListModel::Add(const CUserEntry& entry)
{
    Row* row = FindFirst(entry.id);
    if (!row) {
        beginInsertRows({}, 0, 0);
        row = LinkOnTop(entry);
        SetStatus(row, entry.status);
        row->host = ShownLine(QString::fromStdString(entry.text1));
        endInsertRows();
        return;
    }
    SetStatus(row, entry.status);
    row->host = ShownLine(QString::fromStdString(entry.text1));
    const int at = m_rows.RowOf(row);
    emit dataChanged(index(at, 0), index(at, kColumnCount - 1));
}

bool COperatorListModel::Update(const CUserEntry& entry)
{
    Row* row = FindFirst(entry.id);
    if (!row)
        return false;
    SetStatus(row, entry.status);
    const int at = m_rows.RowOf(row);
    emit dataChanged(index(at, 0), index(at, kStatusColumn));
    return true;
}

bool COperatorListModel::Remove(const CUserEntry& entry)
{
    Row* row = FindFirst(entry.id);
    if (!row)
        return false;
    const int at = m_rows.RowOf(row);
    beginRemoveRows({}, at, at);
    m_rows.Erase(row);
    auto found = m_byId.find(entry.id);
    auto& rows = found->second;
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [row](const std::unique_ptr<Row>& r) { return r.get() == row; });
    std::unique_ptr<Row> owned = std::move(*it);
    rows.erase(it);
    if (rows.empty())
        m_byId.erase(found);
    endRemoveRows();
    return true;
}

void COperatorListModel::Clear()
{
    beginResetModel();
    ForgetAll();
    endResetModel();
}
