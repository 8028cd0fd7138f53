#include "canned_placeholders.h"

#include <QLocale>

QString FillCannedPlaceholders(const QString& message, const CannedContext& context)
{
    const QDateTime now = context.now.isValid() ? context.now : QDateTime::currentDateTime();
    const QLocale locale;
    const auto value = [&](QStringView name) -> QString {
        if (name == u"visitor")
            return context.visitor;
        if (name == u"operator")
            return context.operatorName;
        if (name == u"date")
            return locale.toString(now.date(), QLocale::ShortFormat);
        if (name == u"time")
            return locale.toString(now.time(), QLocale::ShortFormat);
        return {};
    };

    QString filled;
    filled.reserve(message.size());
    qsizetype done = 0;
    for (qsizetype open = message.indexOf(u'{'); open >= 0;
         open = message.indexOf(u'{', open + 1)) {
        const qsizetype close = message.indexOf(u'}', open + 1);
        if (close < 0)
            break;
        const QString replacement = value(QStringView(message).sliced(open + 1, close - open - 1));
        if (replacement.isEmpty())
            continue;
        filled += QStringView(message).sliced(done, open - done);
        filled += replacement;
        done = close + 1;
        open = close;
    }
    filled += QStringView(message).sliced(done);
    return filled;
}
