#include "canned_edit_dlg.h"

#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The list of a sorted drop-down box: alphabetical in the user's language, letter case aside.
QStringList Sorted(QStringList names)
{
    names.removeDuplicates();
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::localeAwareCompare(a.toCaseFolded(), b.toCaseFolded()) < 0;
    });
    return names;
}

} // namespace

CCannedEditDlg::CCannedEditDlg(const QStringList& categories, const QString& category,
                               const QString& title, const QString& message, QWidget* parent)
    : QDialog(parent), m_category(category), m_title(title), m_message(message)
{
    setWindowTitle(tr("Edit Canned Answer"));

    auto* explanation = new QLabel(
        tr("Please type in the category, title and message for this canned answer. You can "
           "type or paste HTML formatted text in the message field."),
        this);
    explanation->setWordWrap(true);

    m_categoryBox = new QComboBox(this);
    m_categoryBox->setObjectName(QStringLiteral("category"));
    m_categoryBox->setEditable(true);
    m_categoryBox->setInsertPolicy(QComboBox::NoInsert);
    m_categoryBox->addItems(Sorted(categories));
    // A category is matched letter case and all: completing "links" into "Links" would file
    // the answer somewhere the operator did not type.
    m_categoryBox->completer()->setCaseSensitivity(Qt::CaseSensitive);
    m_categoryBox->setCurrentText(category);

    m_titleEdit = new QLineEdit(title, this);
    m_titleEdit->setObjectName(QStringLiteral("title"));

    m_messageEdit = new QPlainTextEdit(this);
    m_messageEdit->setObjectName(QStringLiteral("message"));
    m_messageEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_messageEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_messageEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_messageEdit->setTabChangesFocus(true);
    m_messageEdit->setPlainText(message);

    auto* fields = new QFormLayout;
    fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    fields->addRow(tr("&Category:"), m_categoryBox);
    fields->addRow(tr("&Title:"), m_titleEdit);
    fields->addRow(tr("&Message:"), m_messageEdit);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCannedEditDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCannedEditDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(fields, 1);
    layout->addWidget(buttons);
    resize(fontMetrics().averageCharWidth() * 72, fontMetrics().height() * 22);

    if (category.isEmpty())
        m_categoryBox->setFocus();
    else
        m_titleEdit->setFocus();
}

void CCannedEditDlg::accept()
{
    const QString category = m_categoryBox->currentText();
    const QString title = m_titleEdit->isModified() ? m_titleEdit->text() : m_title;
    const QString message =
        m_messageEdit->document()->isModified() ? m_messageEdit->toPlainText() : m_message;
    if (category.isEmpty() || title.isEmpty() || message.isEmpty()) {
        // Window-modal and not run in a nested loop: the dialog stays open underneath with
        // what was typed.
        auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), tr(kMissingFieldsText),
                                    QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    m_category = category;
    m_title = title;
    m_message = message;
    QDialog::accept();
}
