#include "service_pages.h"

namespace {

QString Encoded(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

QUrl Page(const QString& server, const char* path)
{
    return QUrl(QStringLiteral("http://%1/%2").arg(server, QString::fromLatin1(path)),
                QUrl::StrictMode);
}

QUrl WithCredentials(const QString& server, const char* path, const QString& username,
                     const QString& password)
{
    // Built as text and parsed strictly, so the encoded values stay exactly as encoded.
    const QString address =
        QStringLiteral("http://%1/%2?username=%3&password=%4")
            .arg(server, QString::fromLatin1(path), Encoded(username), Encoded(password));
    return QUrl(address, QUrl::StrictMode);
}

} // namespace

namespace ServicePages {

QUrl Tutorial(const QString& server)
{
    return Page(server, "tutorial.aspx");
}

QUrl Account(const QString& server, const QString& username, const QString& password)
{
    return WithCredentials(server, "login.aspx", username, password);
}

QUrl Reports(const QString& server, const QString& username, const QString& password)
{
    return WithCredentials(server, "OperatorReports.aspx", username, password);
}

QUrl SignUp(const QString& server)
{
    return Page(server, "signupForm.aspx");
}

QUrl Download(const QString& server)
{
    return Page(server, "download.html");
}

} // namespace ServicePages
