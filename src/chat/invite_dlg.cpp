#include "invite_dlg.h"

#include "dialog_picture.h"
#include "dialog_units.h"
#include "elided_tip_delegate.h"
#include "flat_button.h"
#include "invite_list_model.h"
#include "notifier.h"
#include "toolbar_button.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QShortcut>
#include <QTreeView>
#include <QVBoxLayout>

CInviteDlg::CInviteDlg(const std::vector<CUserEntry>& operators, int ownOperatorId,
                       CNotifier& notifier, QWidget* parent)
    : QDialog(parent), m_notifier(notifier), m_model(new CInviteListModel(this)),
      m_list(new QTreeView(this)), m_ok(new CFlatButton(tr("OK"), this))
{
    setWindowTitle(tr("Parlendo"));
    const CDialogUnits units(font());

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(units.X(2), units.Y(1), units.X(4), units.Y(4));
    row->setSpacing(units.X(6));
    row->addWidget(new CDialogPicture(68, 100, frame), 0, Qt::AlignTop);

    m_model->SetOperators(operators, ownOperatorId);
    m_list->setObjectName(QStringLiteral("operators"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new CElidedTipDelegate(m_list));
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionsMovable(false);
    m_list->setColumnWidth(CInviteListModel::kNameColumn, kNameWidth);
    m_list->setColumnWidth(CInviteListModel::kStatusColumn, kStatusWidth);
    m_list->setMinimumWidth(kNameWidth + kStatusWidth + 2 * m_list->frameWidth() +
                            m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
    row->addWidget(m_list, 1);

    auto* cancel = new CFlatButton(tr("Cancel"), this);
    SetUpToolbarButton(*m_ok, QStringLiteral(":/ui/accept.svg"));
    SetUpToolbarButton(*cancel, QStringLiteral(":/ui/cancel.svg"));
    m_ok->setObjectName(QStringLiteral("ok"));
    cancel->setObjectName(QStringLiteral("cancel"));
    for (CFlatButton* button : {m_ok, cancel})
        button->setMinimumSize(std::max(units.X(50), button->sizeHint().width()),
                               std::max(units.Y(14), button->sizeHint().height()));
    connect(m_ok, &QAbstractButton::clicked, this, &CInviteDlg::accept);
    connect(cancel, &QAbstractButton::clicked, this, &CInviteDlg::reject);
    // Confirmed by a double click or Enter on an operator; a single click only selects, on
    // every desktop.
    connect(m_list, &QAbstractItemView::doubleClicked, this, &CInviteDlg::accept);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        // Enter answers with the focused button, so tabbing to Cancel never invites.
        connect(shortcut, &QShortcut::activated, this, [this, cancel] {
            focusWidget() == cancel ? reject() : accept();
        });
    }
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CInviteDlg::UpdateOk);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(units.X(4));
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(7));
    layout->setSpacing(units.Y(6));
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);

    UpdateOk();
    m_list->setFocus();
}

void CInviteDlg::UpdateOk()
{
    m_ok->setEnabled(m_list->selectionModel()->hasSelection());
}

void CInviteDlg::accept()
{
    const QModelIndexList selected = m_list->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        m_notifier.Inform(this, tr("You must select the user you want to invite to this call."));
        return;
    }
    m_selectedId = selected.first().data(CInviteListModel::IdRole).toInt();
    QDialog::accept();
}
