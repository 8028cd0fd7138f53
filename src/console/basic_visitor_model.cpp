#include "basic_visitor_model.h"

#include "list_roles.h"

#include <QColor>

namespace {

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

CBasicVisitorModel::CBasicVisitorModel(QObject* parent) : QStandardItemModel(0, 2, parent)
{
    setHorizontalHeaderLabels({QString(), QString()});
}

QVariant CBasicVisitorModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::ForegroundRole && index.isValid() &&
        index.siblingAtColumn(0).data(ListRole::Invited).toBool())
        return QColor(Qt::red);
    return QStandardItemModel::data(index, role);
}

QList<QStandardItem*> CBasicVisitorModel::MakeRow(const CVisitorEntry& entry) const
{
    auto* page = new QStandardItem(Text(entry.text2) + QLatin1Char('\n') + Text(entry.text1));
    page->setData(entry.id, ListRole::Id);
    page->setData(entry.invited, ListRole::Invited);
    page->setData(entry.minutes, ListRole::Minutes);
    page->setEditable(false);
    auto* address = new QStandardItem(QStringLiteral("IP: ") + Text(entry.text5) +
                                      QLatin1Char('\n') + Text(entry.time));
    address->setEditable(false);
    return {page, address};
}

void CBasicVisitorModel::Refresh(const std::vector<CVisitorEntry>& visitors)
{
    removeRows(0, rowCount());
    for (auto it = visitors.rbegin(); it != visitors.rend(); ++it)
        appendRow(MakeRow(*it));
}

void CBasicVisitorModel::Add(const CVisitorEntry& entry)
{
    if (RowOf(entry.id) < 0)
        insertRow(0, MakeRow(entry));
}

void CBasicVisitorModel::Remove(const CVisitorEntry& entry)
{
    const int row = RowOf(entry.id);
    if (row >= 0)
        removeRow(row);
}

void CBasicVisitorModel::MarkInvited(const CVisitorEntry& entry)
{
    const int row = RowOf(entry.id);
    if (row >= 0)
        setData(index(row, 0), true, ListRole::Invited);
}

int CBasicVisitorModel::RowOf(int visitorId) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (item(row, 0)->data(ListRole::Id).toInt() == visitorId)
            return row;
    return -1;
}
