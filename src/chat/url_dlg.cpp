#include "url_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

CUrlDlg::CUrlDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Enter URL"));

    auto* prompt = new QLabel(
        tr("Please type in the URL of the image or page you want to send to the visitor:"), this);
    prompt->setWordWrap(true);
    m_edit = new QLineEdit(this);
    prompt->setBuddy(m_edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CUrlDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CUrlDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    m_edit->setFocus();
}

void CUrlDlg::accept()
{
    const QString typed = m_edit->text();
    if (typed.isEmpty()) {
        // Window-modal and not run in a nested loop: the dialog stays open underneath and
        // takes input again once the box is closed.
        auto* box = new QMessageBox(
            QMessageBox::Warning, windowTitle(),
            tr("You must type in the URL of the image or page you want to send to the visitor."),
            QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    m_address = typed;
    QDialog::accept();
}
