#include "invite_list_model.h"

#include "art_icon_engine.h"
#include "message_codes.h"
#include "shown_text.h"
#include "status_word.h"

namespace {

QString FromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CInviteListModel::CInviteListModel(QObject* parent)
    : QAbstractTableModel(parent), m_images(CArtIconEngine::OperatorStates())
{
}

int CInviteListModel::ImageOf(int status)
{
    switch (status) {
    case OperatorStatus::kOnline:
        return 1;
    case OperatorStatus::kBusy:
    case OperatorStatus::kAway:
        return 2;
    default:
        return 0;
    }
}

void CInviteListModel::SetOperators(const std::vector<CUserEntry>& operators, int ownOperatorId)
{
    beginResetModel();
    m_rows.clear();
    for (auto it = operators.rbegin(); it != operators.rend(); ++it) {
        // Every operator is offered whatever the status, the operator alone left out.
        if (it->type == UserType::kOperator && it->id == ownOperatorId)
            continue;
        m_rows.push_back(
            {it->id, ShownLine(FromUtf8(it->text2) + QLatin1Char(' ') + FromUtf8(it->text3)), it->status});
    }
    endResetModel();
}

int CInviteListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CInviteListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CInviteListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == kNameColumn ? row.name : StatusWord(row.status);
    case Qt::DecorationRole: {
        const int image = ImageOf(row.status);
        if (index.column() == kNameColumn && image < m_images.size())
            return m_images[image];
        return {};
    }
    case IdRole:
        return row.id;
    case ImageRole:
        return ImageOf(row.status);
    default:
        return {};
    }
}

QVariant CInviteListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case kNameColumn:
        return tr("Name");
    case kStatusColumn:
        return tr("Status");
    default:
        return {};
    }
}
