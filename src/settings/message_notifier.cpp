#include "message_notifier.h"

#include <QMessageBox>
#include <utility>

namespace {

void ShowBox(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(CMessageNotifier::kTitle), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

CMessageNotifier::CMessageNotifier() : m_sink(ShowBox) {}

CMessageNotifier::CMessageNotifier(Sink sink) : m_sink(sink ? std::move(sink) : Sink(ShowBox)) {}

void CMessageNotifier::Show(QWidget* parent, const QString& text) const
{
    m_sink(parent, text);
}
