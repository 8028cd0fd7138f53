#include "basic_operator_model.h"

#include "connection_state.h"
#include "list_roles.h"

namespace {

enum Column : int
{
    kName = 0,
    kStatus = 1,
    kHost = 2,
};

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

CBasicOperatorModel::CBasicOperatorModel(QObject* parent) : QStandardItemModel(0, 3, parent)
{
    setHorizontalHeaderLabels({QStringLiteral("Agent Name"), QStringLiteral("Agent Status"),
                               QStringLiteral("Agent Host")});
}

void CBasicOperatorModel::Insert(const CUserEntry& entry)
{
    auto* name = new QStandardItem(Text(entry.text2) + QLatin1Char(' ') + Text(entry.text3));
    name->setData(entry.id, ListRole::Id);
    auto* status = new QStandardItem;
    status->setForeground(QColor(0, 0, 255));
    auto* host = new QStandardItem(Text(entry.text1));
    for (QStandardItem* item : {name, status, host})
        item->setEditable(false);
    insertRow(0, {name, status, host});
    SetStatus(0, entry.status);
}

void CBasicOperatorModel::SetStatus(int row, int status)
{
    item(row, kStatus)->setText(CConnectionState::StatusWord(status));
}

void CBasicOperatorModel::Refresh(const std::vector<CUserEntry>& operators)
{
    removeRows(0, rowCount());
    for (const CUserEntry& entry : operators)
        Insert(entry);
}

void CBasicOperatorModel::Add(const CUserEntry& entry)
{
    const int row = RowOf(entry.id);
    if (row < 0) {
        Insert(entry);
        return;
    }
    SetStatus(row, entry.status);
    item(row, kHost)->setText(Text(entry.text1));
}

void CBasicOperatorModel::Update(const CUserEntry& entry)
{
    const int row = RowOf(entry.id);
    if (row >= 0)
        SetStatus(row, entry.status);
}

void CBasicOperatorModel::Remove(const CUserEntry& entry)
{
    const int row = RowOf(entry.id);
    if (row >= 0)
        removeRow(row);
}

int CBasicOperatorModel::RowOf(int operatorId) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (item(row, kName)->data(ListRole::Id).toInt() == operatorId)
            return row;
    return -1;
}
