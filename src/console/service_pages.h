#pragma once

#include <QString>
#include <QUrl>

// The addresses of the service's web pages, all on the configured chat server's host.
//
// Username and password go into the query percent-encoded: typed as they are, an ampersand, a
// space or a "#" in a password would cut the value short or start another parameter. The
// server decodes them back to the texts the operator typed.
namespace ServicePages {

QUrl Tutorial(const QString& server);
QUrl Account(const QString& server, const QString& username, const QString& password);
QUrl Reports(const QString& server, const QString& username, const QString& password);
QUrl SignUp(const QString& server);
QUrl Download(const QString& server);

} // namespace ServicePages
