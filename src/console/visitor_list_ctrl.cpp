#include "visitor_list_ctrl.h"

#include "visitor_list_model.h"
#include "visitor_row_delegate.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

CVisitorListCtrl::CVisitorListCtrl(QWidget* parent)
    : QTableView(parent), m_delegate(new CVisitorRowDelegate(this))
{
    setItemDelegate(m_delegate);
    // Rows of one fixed height, no row headings, no grid: the delegate draws each row whole.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(CVisitorRowDelegate::kRowHeight);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The rows paint every pixel they cover; paintEvent fills the rest.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsMovable(true);
    // The last column takes whatever width is free; the stored widths of the others apply.
    header()->setStretchLastSection(true);
    connect(this, &QAbstractItemView::doubleClicked, this, &CVisitorListCtrl::OnDoubleClicked);
}

void CVisitorListCtrl::setModel(QAbstractItemModel* model)
{
    for (const auto& c : m_modelConnections)
        disconnect(c);
    m_modelConnections.clear();
    QTableView::setModel(model);
    if (model) {
        header()->resizeSection(0, kDefaultWidth0);
        header()->resizeSection(
            1, std::max(kDefaultWidth1, CVisitorRowDelegate::IpColumnWidth(font())));
        // A reset or a removal can end a selection without a selection signal.
        m_modelConnections.push_back(connect(model, &QAbstractItemModel::modelReset, this,
                                             &CVisitorListCtrl::CheckSelection));
        m_modelConnections.push_back(connect(model, &QAbstractItemModel::rowsRemoved, this,
                                             &CVisitorListCtrl::CheckSelection));
    }
    if (selectionModel()) {
        m_modelConnections.push_back(connect(selectionModel(),
                                             &QItemSelectionModel::selectionChanged, this,
                                             &CVisitorListCtrl::CheckSelection));
    }
    CheckSelection();
}

CVisitorListModel* CVisitorListCtrl::VisitorModel() const
{
    return qobject_cast<CVisitorListModel*>(model());
}

void CVisitorListCtrl::SetAsker(Asker asker)
{
    m_asker = std::move(asker);
}

QString CVisitorListCtrl::InviteQuestion()
{
    return tr(
        "Do you want to send a chat invitation to the visitor browsing the selected web page?");
}

bool CVisitorListCtrl::HasSelection() const
{
    return selectionModel() && selectionModel()->hasSelection();
}

void CVisitorListCtrl::CheckSelection()
{
    const bool now = HasSelection();
    if (now == m_hadSelection)
        return;
    m_hadSelection = now;
    emit SelectionPresenceChanged(now);
}

std::vector<int> CVisitorListCtrl::SelectedRowsFromTop() const
{
    std::vector<int> rows;
    if (!selectionModel())
        return rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<std::int32_t> CVisitorListCtrl::SelectedIds() const
{
    std::vector<std::int32_t> ids;
    for (const int row : SelectedRowsFromTop()) {
        const int id = model()->index(row, 0).data(CVisitorListModel::IdRole).toInt();
        if (id > 0)
            ids.push_back(id);
    }
    return ids;
}

std::vector<std::int32_t> CVisitorListCtrl::MarkSelectedInvited()
{
    std::vector<std::int32_t> ids;
    CVisitorListModel* visitors = VisitorModel();
    if (!visitors)
        return ids;
    for (const int row : SelectedRowsFromTop()) {
        const int id = visitors->index(row, 0).data(CVisitorListModel::IdRole).toInt();
        if (id > 0) {
            visitors->MarkInvitedAt(row);
            ids.push_back(id);
        }
    }
    return ids;
}

void CVisitorListCtrl::OnDoubleClicked(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    if (m_asker && m_asker(this, InviteQuestion()))
        emit InviteRequested();
}

void CVisitorListCtrl::paintEvent(QPaintEvent* event)
{
    // Only what no row covers is filled, rather than the whole viewport under the rows first:
    // a fill that large is one Qt's raster engine spreads over threads at every repaint.
    QRegion bare = event->region();
    const int rows = model() ? model()->rowCount() : 0;
    if (rows > 0) {
        const int bottom = rowViewportPosition(rows - 1) + rowHeight(rows - 1);
        bare -= QRect(0, 0, horizontalHeader()->length() - horizontalHeader()->offset(), bottom);
    }
    if (!bare.isEmpty()) {
        QPainter painter(viewport());
        const QBrush background = viewport()->palette().brush(viewport()->backgroundRole());
        for (const QRect& rect : bare)
            painter.fillRect(rect, background);
    }
    QTableView::paintEvent(event);
}

void CVisitorListCtrl::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void CVisitorListCtrl::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void CVisitorListCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    // The table repaints only the cells that changed; the frame belongs to the whole row.
    for (const QModelIndex& index : {current, previous})
        if (index.isValid())
            viewport()->update(QRect(0, rowViewportPosition(index.row()), viewport()->width(),
                                     rowHeight(index.row())));
}
