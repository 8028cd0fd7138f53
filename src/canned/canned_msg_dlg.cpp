#include "canned_msg_dlg.h"

#include "canned_edit_dlg.h"
#include "canned_exchange.h"
#include "canned_filter_model.h"
#include "canned_store.h"
#include "canned_tree_look.h"
#include "canned_tree_model.h"
#include "cut_off_tool_tips.h"
#include "result_codes.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
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

QPushButton* CommandButton(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CShortcutTable CCannedMsgDlg::Shortcuts()
{
    CShortcutTable table(tr("Canned Answers"));
    table.Add(QStringLiteral("deleteAnswer"), tr("Delete the chosen answer or category"),
              QKeySequence::keyBindings(QKeySequence::Delete))
        .Add(QStringLiteral("renameAnswer"), tr("Rename the chosen answer or category"),
             {QKeySequence(Qt::Key_F2)});
    return table;
}

CCannedMsgDlg::CCannedMsgDlg(QWidget* parent)
    : QDialog(parent), m_model(new CCannedTreeModel(this)), m_filter(new CCannedFilterModel(this))
{
    setWindowTitle(tr("Canned Answers"));

    auto* intro = new QLabel(tr(kIntroText), this);
    intro->setWordWrap(true);

    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setPlaceholderText(tr("Search titles, categories and messages"));
    m_search->setClearButtonEnabled(true);
    m_search->setAccessibleName(tr("Search the canned answers"));

    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("answers"));
    m_tree->setAccessibleName(tr("Canned answers"));
    ApplyCannedTreeLook(*m_tree, true);
    m_filter->setSourceModel(m_model);
    m_tree->setModel(m_filter);
    new CCutOffToolTips(m_tree);
    intro->setBuddy(m_tree);

    m_add = CommandButton(tr("&Add"), "add", this);
    m_edit = CommandButton(tr("&Edit"), "edit", this);
    m_rename = CommandButton(tr("&Rename"), "rename", this);
    m_delete = CommandButton(tr("&Delete"), "delete", this);
    QPushButton* import = CommandButton(tr("&Import..."), "import", this);
    QPushButton* exportButton = CommandButton(tr("E&xport..."), "export", this);
    m_edit->setEnabled(false);
    m_rename->setEnabled(false);
    m_delete->setEnabled(false);

    m_preview = new QPlainTextEdit(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setReadOnly(true);
    m_preview->setAccessibleName(tr("Message of the chosen answer"));
    m_preview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_preview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_preview->setTabChangesFocus(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* commands = new QVBoxLayout;
    for (QPushButton* button : {m_add, m_edit, m_rename, m_delete})
        commands->addWidget(button);
    commands->addStretch(1);
    commands->addWidget(import);
    commands->addWidget(exportButton);
    auto* treeColumn = new QVBoxLayout;
    treeColumn->addWidget(m_search);
    treeColumn->addWidget(m_tree, 1);
    auto* treeRow = new QHBoxLayout;
    treeRow->addLayout(treeColumn, 1);
    treeRow->addLayout(commands);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(treeRow, 3);
    layout->addWidget(m_preview, 1);
    layout->addWidget(buttons);
    resize(fontMetrics().averageCharWidth() * 76, fontMetrics().height() * 30);

    connect(m_add, &QPushButton::clicked, this, &CCannedMsgDlg::OnAdd);
    connect(m_edit, &QPushButton::clicked, this, &CCannedMsgDlg::OnEdit);
    connect(m_rename, &QPushButton::clicked, this, &CCannedMsgDlg::OnRename);
    connect(m_delete, &QPushButton::clicked, this, &CCannedMsgDlg::OnDelete);
    connect(import, &QPushButton::clicked, this, &CCannedMsgDlg::OnImport);
    connect(exportButton, &QPushButton::clicked, this, &CCannedMsgDlg::OnExport);
    connect(m_search, &QLineEdit::textChanged, this, &CCannedMsgDlg::OnSearch);
    // A double-click on a category only opens or closes it, which the tree does by itself.
    connect(m_tree, &QTreeView::doubleClicked, this, &CCannedMsgDlg::OnEdit);
    Shortcuts().Install(m_tree,
                        {{QStringLiteral("deleteAnswer"), [this](int) { OnDelete(); }},
                         {QStringLiteral("renameAnswer"), [this](int) { OnRename(); }}},
                        Qt::WidgetShortcut);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCannedMsgDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCannedMsgDlg::reject);
    connect(m_tree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CCannedMsgDlg::OnSelectionChanged);
    // After a removal (a deletion, or the search hiding the selected item) the view moves the
    // current item on without selecting it; select it, so that the buttons and the preview
    // follow what the tree shows.
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, [this] {
        const QModelIndex current = m_tree->currentIndex();
        if (current.isValid() && !SelectedItem().isValid())
            m_tree->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
        OnSelectionChanged();
    });

    bool whole = true;
    m_model->SetAnswers(LoadCannedAnswers(&whole));
    m_damaged = !whole;
    OpenLoadedCategories(*m_tree);
    m_tree->setFocus();
    // Said once the dialog is up: OK would write over what could not be read.
    if (m_damaged)
        QMetaObject::invokeMethod(
            this,
            [this] {
                Warn(tr("The canned answers file could not be read whole: the answers after its "
                        "damaged part are missing here. When you press OK, the file is first "
                        "kept aside as it is."));
            },
            Qt::QueuedConnection);
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
    QString category = selected.parent().data().toString();
    QString title = selected.data().toString();
    QString message = selected.data(CCannedTreeModel::MessageRole).toString();
    if (!RunEditDialog(m_model->CategoryNames(), category, title, message, this) ||
        !answer.isValid())
        return;
    const QModelIndex edited = m_model->EditAnswer(answer, category, title, message);
    if (!edited.isValid())
        return;
    Reveal(edited);
    Select(edited);
    OnSelectionChanged();
}

void CCannedMsgDlg::OnRename()
{
    const QModelIndex selected = SelectedItem();
    if (!m_model->IsCategory(selected))
        return;
    const QPersistentModelIndex category(selected);
    const QString old = selected.data().toString();
    bool ok = false;
    const QString name = QInputDialog::getText(this, tr("Rename Category"), tr("Category:"),
                                               QLineEdit::Normal, old, &ok);
    if (!ok || name.isEmpty() || name == old || !category.isValid())
        return;
    // Two categories of one name would leave the second out of reach: Add and Edit file
    // answers under the first.
    if (m_model->CategoryNames().contains(name)) {
        Warn(tr("There is a category named \"%1\" already.").arg(name));
        return;
    }
    m_model->RenameCategory(category, name);
}

void CCannedMsgDlg::OnDelete()
{
    const QModelIndex selected = SelectedItem();
    if (!selected.isValid())
        return;
    const int answers = m_model->IsCategory(selected) ? m_model->rowCount(selected) : 0;
    if (answers > 0) {
        QMessageBox ask(
            QMessageBox::Question, windowTitle(),
            tr("Delete the category \"%1\" and the %n answer(s) in it?", nullptr, answers)
                .arg(selected.data().toString()),
            QMessageBox::Yes | QMessageBox::No, this);
        ask.setDefaultButton(QMessageBox::No);
        const QPersistentModelIndex category(selected);
        if (ask.exec() != QMessageBox::Yes || !category.isValid())
            return;
        m_model->Remove(category);
        return;
    }
    m_model->Remove(selected);
}

void CCannedMsgDlg::OnImport()
{
    const QString file =
        QFileDialog::getOpenFileName(this, tr("Import Canned Answers"), QString(),
                                     tr("Canned answers (*.txt *.dat);;All files (*)"));
    if (!file.isEmpty())
        ImportFrom(file);
}

void CCannedMsgDlg::OnExport()
{
    const QString textFilter = tr("Canned answers as text (*.txt)");
    const QString fileFilter = tr("Canned answers file (*.dat)");
    QString filter = textFilter;
    QString file = QFileDialog::getSaveFileName(
        this, tr("Export Canned Answers"), QStringLiteral("canned-answers.txt"),
        textFilter + QStringLiteral(";;") + fileFilter, &filter);
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += filter == fileFilter ? QStringLiteral(".dat") : QStringLiteral(".txt");
    ExportTo(file);
}

bool CCannedMsgDlg::ImportFrom(const QString& file)
{
    QString why;
    const std::optional<CannedAnswers> answers = CCannedExchange::Import(file, &why);
    if (!answers) {
        Warn(tr("%1 was not imported. %2 Nothing was changed.")
                 .arg(QFileInfo(file).fileName(), why));
        return false;
    }
    m_search->clear();
    m_model->Merge(*answers);
    for (int row = 0; row < m_model->rowCount(); ++row)
        m_tree->expand(m_filter->mapFromSource(m_model->index(row, 0)));
    return true;
}

bool CCannedMsgDlg::ExportTo(const QString& file)
{
    if (CCannedExchange::Export(m_model->Answers(), file, CCannedExchange::FormatOf(file)))
        return true;
    Warn(tr("The canned answers could not be written to %1.").arg(QFileInfo(file).filePath()));
    return false;
}

void CCannedMsgDlg::accept()
{
    if (m_damaged) {
        if (KeepDamagedCannedAnswers().isEmpty()) {
            Warn(tr("The damaged canned answers file could not be kept aside, so it is not "
                    "written over."));
            return;
        }
        m_damaged = false;
    }
    if (SaveCannedAnswers(m_model->Answers()) != rc::kOk) {
        // Closing now would throw the operator's edits away; staying open lets them free the
        // disk or the folder and press OK again, or give up with Cancel.
        Warn(tr(kCannedSaveFailedText));
        return;
    }
    QDialog::accept();
}

void CCannedMsgDlg::OnSelectionChanged()
{
    const QModelIndex selected = SelectedItem();
    const bool answer = m_model->IsAnswer(selected);
    m_edit->setEnabled(answer);
    m_rename->setEnabled(m_model->IsCategory(selected));
    m_delete->setEnabled(selected.isValid());
    m_preview->setPlainText(answer ? selected.data(CCannedTreeModel::MessageRole).toString()
                                   : QString());
}

void CCannedMsgDlg::OnSearch(const QString& text)
{
    m_filter->SetQuery(text);
    if (!text.trimmed().isEmpty())
        m_tree->expandAll();
}

QModelIndex CCannedMsgDlg::SelectedItem() const
{
    const QModelIndexList selected = m_tree->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : m_filter->mapToSource(selected.first());
}

void CCannedMsgDlg::Select(const QModelIndex& item)
{
    m_tree->selectionModel()->setCurrentIndex(m_filter->mapFromSource(item),
                                              QItemSelectionModel::ClearAndSelect);
}

void CCannedMsgDlg::Reveal(const QModelIndex& item)
{
    if (!m_filter->mapFromSource(item).isValid())
        m_search->clear();
    const QModelIndex shown = m_filter->mapFromSource(item);
    m_tree->expand(shown.parent());
    m_tree->scrollTo(shown);
}

void CCannedMsgDlg::Warn(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box.exec();
}
