#include "history_dlg.h"

#include "chat_archive.h"
#include "chat_export.h"
#include "history_chat_model.h"
#include "transcript_document.h"
#include "transcript_look.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace {

struct ExportChoice
{
    const char* filter;
    const char* suffix;
};
constexpr std::array<ExportChoice, 3> kExportChoices = {{
    {QT_TRANSLATE_NOOP("CHistoryDlg", "Rich Text Format (*.rtf)"), "rtf"},
    {QT_TRANSLATE_NOOP("CHistoryDlg", "Web Page (*.html)"), "html"},
    {QT_TRANSLATE_NOOP("CHistoryDlg", "PDF Document (*.pdf)"), "pdf"},
}};

QLineEdit* FilterField(const char* name, const QString& placeholder, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setPlaceholderText(placeholder);
    field->setClearButtonEnabled(true);
    return field;
}

} // namespace

CShortcutTable CHistoryDlg::Shortcuts()
{
    CShortcutTable table(tr("Chat History"));
    table.Add(QStringLiteral("find"), tr("Search the chats"),
              QKeySequence::keyBindings(QKeySequence::Find))
        .AddByControl(tr("Filter the chats now"), {QKeySequence(Qt::Key_Return)});
    return table;
}

CHistoryDlg::CHistoryDlg(CChatArchive& archive, QWidget* parent)
    : QDialog(parent), m_archive(archive)
{
    setWindowTitle(tr("Chat History"));
    setSizeGripEnabled(true);
    BuildControls();

    m_filterTimer = new QTimer(this);
    m_filterTimer->setSingleShot(true);
    m_filterTimer->setInterval(kFilterDelayMs);
    connect(m_filterTimer, &QTimer::timeout, this, &CHistoryDlg::ApplyFilter);
    m_reloadTimer = new QTimer(this);
    m_reloadTimer->setSingleShot(true);
    m_reloadTimer->setInterval(kReloadDelayMs);
    connect(m_reloadTimer, &QTimer::timeout, this, &CHistoryDlg::OnArchiveChanged);

    for (QLineEdit* field : {m_search, m_visitor, m_operator}) {
        connect(field, &QLineEdit::textChanged, m_filterTimer, qOverload<>(&QTimer::start));
        connect(field, &QLineEdit::returnPressed, this, &CHistoryDlg::ApplyFilter);
    }
    connect(&m_archive, &CChatArchive::Changed, this, [this] {
        if (!m_reloadTimer->isActive())
            m_reloadTimer->start();
    });
    connect(&m_archive, &CChatArchive::Notice, this, [this](const QString& text) {
        m_notice = text;
        UpdateState();
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CHistoryDlg::OnCurrentChanged);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CHistoryDlg::UpdateState);
    connect(m_export, &QPushButton::clicked, this, &CHistoryDlg::OnExport);
    connect(m_copy, &QPushButton::clicked, this, &CHistoryDlg::OnCopy);
    connect(m_delete, &QPushButton::clicked, this, &CHistoryDlg::OnDeleteHistory);

    Shortcuts().Install(this, {{QStringLiteral("find"), [this](int) {
                                    m_search->setFocus(Qt::ShortcutFocusReason);
                                    m_search->selectAll();
                                }}});

    ApplyFilter();
    m_search->setFocus();
}

void CHistoryDlg::BuildControls()
{
    m_search = FilterField("search", tr("Words, or \"a phrase\" (Ctrl+F)"), this);
    m_visitor = FilterField("visitor", tr("Any visitor"), this);
    m_operator = FilterField("operator", tr("Any operator"), this);
    auto* filters = new QGridLayout;
    const std::array<std::pair<QString, QLineEdit*>, 3> fields = {{
        {tr("&Search:"), m_search},
        {tr("&Visitor:"), m_visitor},
        {tr("&Operator:"), m_operator},
    }};
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        auto* label = new QLabel(fields[i].first, this);
        label->setBuddy(fields[i].second);
        filters->addWidget(label, 0, 2 * i);
        filters->addWidget(fields[i].second, 0, 2 * i + 1);
    }
    filters->setColumnStretch(1, 3);
    filters->setColumnStretch(3, 1);
    filters->setColumnStretch(5, 1);

    m_model = new CHistoryChatModel(m_archive, this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("chats"));
    m_list->setAccessibleName(tr("Chats"));
    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true); // lets the view page through thousands of rows
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    // The visitor's name takes what the other columns leave, so no column is ever cut off.
    const QFontMetrics metrics = fontMetrics();
    const int padding = metrics.averageCharWidth() * 3;
    QHeaderView* header = m_list->header();
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(metrics.averageCharWidth() * 6);
    header->setSectionResizeMode(CHistoryChatModel::Visitor, QHeaderView::Stretch);
    header->resizeSection(
        CHistoryChatModel::Started,
        metrics.horizontalAdvance(CTranscriptLook::DateTimeText(
            QDateTime(QDate(2000, 12, 28), QTime(23, 59, 59)).toMSecsSinceEpoch())) +
            padding);
    header->resizeSection(CHistoryChatModel::Operator, metrics.averageCharWidth() * 12);
    header->setSectionResizeMode(CHistoryChatModel::Lines, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(CHistoryChatModel::Transferred, QHeaderView::ResizeToContents);
    m_list->setMinimumWidth(header->sectionSize(CHistoryChatModel::Started) +
                            metrics.averageCharWidth() * 56);

    m_transcript = new QTextEdit(this);
    m_transcript->setObjectName(QStringLiteral("transcript"));
    m_transcript->setAccessibleName(tr("Transcript of the chosen chat"));
    m_transcript->setReadOnly(true);
    m_transcript->setUndoRedoEnabled(false);
    m_transcript->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_transcript->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_list);
    splitter->addWidget(m_transcript);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_export = new QPushButton(tr("&Export..."), this);
    m_export->setObjectName(QStringLiteral("export"));
    m_copy = new QPushButton(tr("Co&py"), this); // Alt+C is Close's
    m_copy->setObjectName(QStringLiteral("copy"));
    m_delete = new QPushButton(tr("&Delete History..."), this);
    m_delete->setObjectName(QStringLiteral("deleteHistory"));
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QPushButton* button : {m_export, m_copy, m_delete})
        button->setAutoDefault(false); // Enter in a filter field filters, it does not export
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_export);
    buttons->addWidget(m_copy);
    buttons->addSpacing(metrics.averageCharWidth() * 2);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    setTabOrder(m_search, m_visitor);
    setTabOrder(m_visitor, m_operator);
    setTabOrder(m_operator, m_list);
    setTabOrder(m_list, m_transcript);
    setTabOrder(m_transcript, m_export);
    resize(metrics.averageCharWidth() * 160, metrics.height() * 36);
    splitter->setSizes({width() / 2, width() / 2});
}

void CHistoryDlg::ApplyFilter()
{
    m_filterTimer->stop();
    m_notice.clear();
    m_model->SetFilter(
        {m_visitor->text().trimmed(), m_operator->text().trimmed(), m_search->text()});
    // The newest chat is the one most likely wanted.
    if (m_model->rowCount() > 0)
        m_list->setCurrentIndex(m_model->index(0, 0));
    ShowTranscript();
    UpdateState();
}

void CHistoryDlg::OnArchiveChanged()
{
    // The list is read again; the chats chosen stay chosen where they still are.
    QList<qint64> selected;
    for (const CArchivedChat& chat : SelectedChats())
        selected.append(chat.id);
    const QModelIndex current = m_list->currentIndex();
    const qint64 currentId = current.isValid() ? m_model->Chat(current.row()).id : 0;

    const QSignalBlocker blocker(m_list->selectionModel());
    m_model->Reload();
    QItemSelection selection;
    for (const qint64 id : selected) {
        const int row = m_model->RowOf(id);
        if (row >= 0)
            selection.select(m_model->index(row, 0),
                             m_model->index(row, CHistoryChatModel::ColumnCount - 1));
    }
    const int currentRow = m_model->RowOf(currentId);
    if (currentRow >= 0)
        m_list->selectionModel()->setCurrentIndex(m_model->index(currentRow, 0),
                                                  QItemSelectionModel::NoUpdate);
    m_list->selectionModel()->select(selection, QItemSelectionModel::Select);
    ShowTranscript();
    UpdateState();
}

void CHistoryDlg::OnCurrentChanged()
{
    ShowTranscript();
    UpdateState();
}

void CHistoryDlg::ShowTranscript()
{
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid()) {
        m_shownChat = 0;
        m_transcript->clear();
        return;
    }
    const CArchivedChat& chat = m_model->Chat(current.row());
    // The same chat again (it grew): the reader keeps their place in it.
    const bool same = chat.id == m_shownChat;
    const int scrolled = m_transcript->verticalScrollBar()->value();
    m_shownChat = chat.id;

    auto* document = new QTextDocument(m_transcript);
    document->setDefaultFont(m_transcript->font());
    const QString& search = m_model->Filter().search;
    const int firstMatch = CTranscriptDocument::AppendChat(
        *document, chat, m_archive.Lines(chat.id, search),
        m_transcript->palette().color(QPalette::Active, QPalette::Base), true);
    m_transcript->setDocument(document); // deletes the document before, also its child

    if (same) {
        m_transcript->verticalScrollBar()->setValue(scrolled);
    } else if (firstMatch >= 0) {
        QTextCursor cursor(document);
        cursor.setPosition(firstMatch);
        m_transcript->setTextCursor(cursor);
        m_transcript->ensureCursorVisible();
    }
}

void CHistoryDlg::UpdateState()
{
    const int chosen = static_cast<int>(SelectedChats().size());
    m_export->setEnabled(chosen > 0);
    m_copy->setEnabled(chosen > 0);
    if (!m_notice.isEmpty()) {
        m_status->setText(m_notice);
        return;
    }
    // "+": more chats pass the filter than have been read yet.
    const QString count = QString::number(m_model->rowCount()) +
                          (m_model->canFetchMore({}) ? QStringLiteral("+") : QString());
    QString text = m_model->Filter().search.isEmpty() ? tr("Chats: %1").arg(count)
                                                      : tr("Chats with matches: %1").arg(count);
    if (chosen > 1)
        text += QStringLiteral("    ") + tr("Chosen: %1").arg(chosen);
    m_status->setText(text);
}

QList<CArchivedChat> CHistoryDlg::SelectedChats() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    // Exports read in time order, the oldest chat first.
    QList<CArchivedChat> chats;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        chats.append(m_model->Chat(*it));
    return chats;
}

void CHistoryDlg::OnExport()
{
    const QList<CArchivedChat> chats = SelectedChats();
    if (chats.isEmpty())
        return;
    auto* dialog = new QFileDialog(this, tr("Export Chats"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const ExportChoice& choice : kExportChoices)
        filters << tr(choice.filter);
    dialog->setNameFilters(filters);
    dialog->setDefaultSuffix(QLatin1String(kExportChoices[0].suffix));
    connect(dialog, &QFileDialog::filterSelected, dialog, [dialog, filters](const QString& f) {
        const qsizetype at = filters.indexOf(f);
        if (at >= 0)
            dialog->setDefaultSuffix(QLatin1String(kExportChoices[at].suffix));
    });
    connect(dialog, &QFileDialog::fileSelected, this,
            [this, chats](const QString& path) { ExportTo(path, chats); });
    dialog->open();
}

void CHistoryDlg::ExportTo(const QString& path, const QList<CArchivedChat>& chats)
{
    const auto document = CChatExport::Document(m_archive, chats);
    const QString error = CChatExport::Write(path, CChatExport::FormatOf(path), *document);
    if (!error.isEmpty())
        Warn(tr("The chats could not be exported to %1.\n%2")
                 .arg(QDir::toNativeSeparators(path), error));
}

void CHistoryDlg::OnCopy()
{
    const QList<CArchivedChat> chats = SelectedChats();
    if (chats.isEmpty())
        return;
    const auto document = CChatExport::Document(m_archive, chats);
    QApplication::clipboard()->setMimeData(CChatExport::MimeData(*document));
}

void CHistoryDlg::OnDeleteHistory()
{
    auto* box = new QMessageBox(QMessageBox::Warning, tr("Delete History"),
                                tr("Delete every chat in the history? They are removed from this "
                                   "computer and cannot be brought back."),
                                QMessageBox::Yes | QMessageBox::No, this);
    box->setObjectName(QStringLiteral("confirmDelete"));
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this](int result) {
        if (result == QMessageBox::Yes)
            m_archive.DeleteAll();
    });
    box->open();
}

void CHistoryDlg::Warn(const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void CHistoryDlg::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // The transcript's colours are chosen for the background; a new palette needs them anew.
    if (event->type() == QEvent::PaletteChange && m_transcript) {
        m_shownChat = 0;
        ShowTranscript();
    }
}
