#include "url_warning.h"

#include "url_launcher.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

void WarnUrlFailure(QWidget* widget, int code)
{
    QApplication::beep();
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Parlendo"),
                                CUrlLauncher::FailureMessage(code), QMessageBox::Ok,
                                widget ? widget->window() : nullptr);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
