#include "message_box_notifier.h"

#include <QCoreApplication>
#include <QMessageBox>

QString CMessageBoxNotifier::DisplayText(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

void CMessageBoxNotifier::Inform(QWidget* owner, const QString& text, std::function<void()> done)
{
    auto* box = new QMessageBox(QMessageBox::NoIcon, QCoreApplication::translate("CNotifier", "Parlendo"),
                                DisplayText(text), QMessageBox::Ok, owner);
    // Texts may carry what a server sent: shown as they are, never as markup.
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [done = std::move(done)] {
        if (done)
            done();
    });
    box->open();
}

void CMessageBoxNotifier::Ask(QWidget* owner, const QString& title, const QString& text,
                              std::function<void(bool yes)> answer)
{
    auto* box = new QMessageBox(QMessageBox::Question, title, DisplayText(text),
                                QMessageBox::Yes | QMessageBox::No, owner);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [box, answer = std::move(answer)](int) {
        if (answer)
            answer(box->clickedButton() == box->button(QMessageBox::Yes));
    });
    box->open();
}
