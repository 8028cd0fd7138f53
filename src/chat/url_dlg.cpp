#include "url_dlg.h"

#include "notifier.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CUrlDlg::CUrlDlg(CNotifier& notifier, QWidget* parent) : QDialog(parent), m_notifier(notifier)
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
        // Not run in a nested loop: the dialog stays open underneath and takes input again once
        // the box is closed.
        m_notifier.Inform(
            this, tr("You must type in the URL of the image or page you want to send to the visitor."));
        return;
    }
    m_address = typed;
    QDialog::accept();
}
