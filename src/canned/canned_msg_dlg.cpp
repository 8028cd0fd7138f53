#include "canned_msg_dlg.h"

#include "canned_edit_dlg.h"
#include "canned_store.h"
#include "canned_tree_look.h"
#include "canned_tree_model.h"
#include "cut_off_tool_tips.h"
#include "result_codes.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

bool RunEditDialog(const QStringList& categories, QString& category, QString& title,
                   QString& message, QWidget* parent)
{
    CCannedEditDlg dialog(categories, category, title, message, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    category = dialog.Category();
    title = dialog.Title();
    message = dialog.Message();
    return true;
}

} // namespace

CCannedMsgDlg::CCannedMsgDlg(QWidget* parent) : QDialog(parent), m_model(new CCannedTreeModel(this))
{
    setWindowTitle(tr("Canned Answers"));

    auto* intro = new QLabel(tr(kIntroText), this);
    intro->setWordWrap(true);

    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("answers"));
    ApplyCannedTreeLook(*m_tree, true);
    m_tree->setModel(m_model);
    new CCutOffToolTips(m_tree);
    intro->setBuddy(m_tree);

    m_add = new QPushButton(tr("&Add"), this);
    m_add->setObjectName(QStringLiteral("add"));
    m_edit = new QPushButton(tr("&Edit"), this);
    m_edit->setObjectName(QStringLiteral("edit"));
    m_delete = new QPushButton(tr("Delete"), this);
    m_delete->setObjectName(QStringLiteral("delete"));
    for (QPushButton* button : {m_add, m_edit, m_delete})
        button->setAutoDefault(false);
    m_edit->setEnabled(false);
    m_delete->setEnabled(false);

    m_preview = new QPlainTextEdit(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setReadOnly(true);
    m_preview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_preview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_preview->setTabChangesFocus(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* commands = new QVBoxLayout;
    commands->addWidget(m_add);
    commands->addWidget(m_edit);
    commands->addWidget(m_delete);
    commands->addStretch(1);
    auto* treeRow = new QHBoxLayout;
    treeRow->addWidget(m_tree, 1);
    treeRow->addLayout(commands);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(treeRow, 3);
    layout->addWidget(m_preview, 1);
    layout->addWidget(buttons);
    resize(fontMetrics().averageCharWidth() * 70, fontMetrics().height() * 28);

    connect(m_add, &QPushButton::clicked, this, &CCannedMsgDlg::OnAdd);
    connect(m_edit, &QPushButton::clicked, this, &CCannedMsgDlg::OnEdit);
    connect(m_delete, &QPushButton::clicked, this, &CCannedMsgDlg::OnDelete);
    // A double-click on a category only opens or closes it, which the tree does by itself.
    connect(m_tree, &QTreeView::doubleClicked, this, &CCannedMsgDlg::OnEdit);
    auto* deleteKey = new QShortcut(QKeySequence::Delete, m_tree);
    deleteKey->setContext(Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &CCannedMsgDlg::OnDelete);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCannedMsgDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCannedMsgDlg::reject);
    connect(m_tree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CCannedMsgDlg::OnSelectionChanged);
    // After a removal the view moves the current item on without selecting it; select it, so
    // that the buttons and the preview follow what the tree shows.
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] {
        const QModelIndex current = m_tree->currentIndex();
        if (current.isValid() && !SelectedItem().isValid())
            m_tree->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
        OnSelectionChanged();
    });

    m_model->SetAnswers(LoadCannedAnswers());
    OpenLoadedCategories(*m_tree);
    m_tree->setFocus();
}

void CCannedMsgDlg::OnAdd()
{
    const QModelIndex selected = SelectedItem();
    QString category;
    if (m_model->IsAnswer(selected))
        category = selected.parent().data().toString();
    else if (m_model->IsCategory(selected))
        category = selected.data().toString();
    QString title;
    QString message;
    if (!RunEditDialog(m_model->CategoryNames(), category, title, message, this))
        return;
    Reveal(m_model->AddAnswer(category, title, message));
}

void CCannedMsgDlg::OnEdit()
{
    const QModelIndex selected = SelectedItem();
    if (!m_model->IsAnswer(selected))
        return;
    const QPersistentModelIndex answer(selected);
    const QString oldCategory = selected.parent().data().toString();
    QString category = oldCategory;
    QString title = selected.data().toString();
    QString message = selected.data(CCannedTreeModel::MessageRole).toString();
    if (!RunEditDialog(m_model->CategoryNames(), category, title, message, this) ||
        !answer.isValid())
        return;
    const QModelIndex edited = m_model->EditAnswer(answer, category, title, message);
    if (!edited.isValid())
        return;
    if (category != oldCategory) {
        m_tree->selectionModel()->setCurrentIndex(edited, QItemSelectionModel::ClearAndSelect);
        Reveal(edited);
    }
    OnSelectionChanged();
}

void CCannedMsgDlg::OnDelete()
{
    const QModelIndex selected = SelectedItem();
    if (selected.isValid())
        m_model->Remove(selected);
}

void CCannedMsgDlg::accept()
{
    if (SaveCannedAnswers(m_model->Answers()) != rc::kOk) {
        // Closing now would throw the operator's edits away; staying open lets them free the
        // disk or the folder and press OK again, or give up with Cancel.
        QMessageBox box(QMessageBox::Warning, windowTitle(), tr(kCannedSaveFailedText),
                        QMessageBox::Ok, this);
        box.exec();
        return;
    }
    QDialog::accept();
}

void CCannedMsgDlg::OnSelectionChanged()
{
    const QModelIndex selected = SelectedItem();
    const bool answer = m_model->IsAnswer(selected);
    m_edit->setEnabled(answer);
    m_delete->setEnabled(selected.isValid());
    m_preview->setPlainText(answer ? selected.data(CCannedTreeModel::MessageRole).toString()
                                   : QString());
}

QModelIndex CCannedMsgDlg::SelectedItem() const
{
    const QModelIndexList selected = m_tree->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.first();
}

void CCannedMsgDlg::Reveal(const QModelIndex& answer)
{
    m_tree->expand(answer.parent());
    m_tree->scrollTo(answer);
}
