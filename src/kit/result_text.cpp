#include "result_text.h"

#include "result_codes.h"

#include <QCoreApplication>

QString ResultText(int code)
{
    return QCoreApplication::translate("ResultCodes", ResultMessage(code));
}
