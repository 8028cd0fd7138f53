#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// "Edit Canned Answer": the category, title and message of one answer. The category is typed
// or picked from the existing ones. OK with any field empty is refused with a message and the
// dialog stays open with what was typed.
class CCannedEditDlg final : public QDialog
{
    Q_OBJECT

public:
    static constexpr char kMissingFieldsText[] =
        QT_TR_NOOP("You must type in all the fields for the canned message.");

    CCannedEditDlg(const QStringList& categories, const QString& category, const QString& title,
                   const QString& message, QWidget* parent = nullptr);

    // What was entered, once accepted. A title or message left untouched is returned exactly as
    // it was given, line breaks included, though the boxes show it in their own way.
    const QString& Category() const { return m_category; }
    const QString& Title() const { return m_title; }
    const QString& Message() const { return m_message; }

    void accept() override;

private:
    QComboBox* m_categoryBox = nullptr;
    QLineEdit* m_titleEdit = nullptr;
    QPlainTextEdit* m_messageEdit = nullptr;
    QString m_category;
    QString m_title;
    QString m_message;
};
