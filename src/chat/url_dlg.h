#pragma once

#include <QDialog>

class CNotifier;
class QLineEdit;

// "Enter URL": asks for the address of a page or an image to send to the visitor. Only an
// empty text is refused; the address is taken as typed, blanks and all, and completed with a
// scheme by the caller.
class CUrlDlg final : public QDialog
{
    Q_OBJECT

public:
    // The notifier says why an address is refused; it must outlive the dialog.
    explicit CUrlDlg(CNotifier& notifier, QWidget* parent = nullptr);

    // The confirmed address; empty until the dialog is accepted.
    const QString& Address() const { return m_address; }

    void accept() override;

private:
    CNotifier& m_notifier;
    QLineEdit* m_edit = nullptr;
    QString m_address;
};
