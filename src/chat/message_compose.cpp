#include "message_compose.h"

#include <initializer_list>

namespace {

QString WithSchemeUnlessPrefixed(const QString& typed, std::initializer_list<QLatin1String> kept)
{
    for (const QLatin1String& prefix : kept) {
        if (typed.startsWith(prefix, Qt::CaseSensitive))
            return typed;
    }
    return QStringLiteral("http://") + typed;
}

} // namespace

QString ApostrophesToBackticks(const QString& text)
{
    QString sent = text;
    sent.replace(QLatin1Char('\''), QLatin1Char('`'));
    return sent;
}

QString LinkAddress(const QString& typed)
{
    return WithSchemeUnlessPrefixed(
        typed, {QLatin1String("http"), QLatin1String("ftp:"), QLatin1String("mail")});
}

QString ImageAddress(const QString& typed)
{
    return WithSchemeUnlessPrefixed(typed, {QLatin1String("http")});
}

QString HtmlEscaped(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            escaped += QLatin1String("&amp;");
            break;
        case '<':
            escaped += QLatin1String("&lt;");
            break;
        case '>':
            escaped += QLatin1String("&gt;");
            break;
        case '"':
            escaped += QLatin1String("&quot;");
            break;
        case '\'':
            escaped += QLatin1String("&#39;");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString LinkHtml(const QString& address)
{
    const QString u = HtmlEscaped(address);
    return QLatin1String("<a href='") + u + QLatin1String("' target='_blank'>") + u +
           QLatin1String("</a>");
}

QString ImageHtml(const QString& address)
{
    return QLatin1String("<img src='") + HtmlEscaped(address) + QLatin1String("'></img>");
}
