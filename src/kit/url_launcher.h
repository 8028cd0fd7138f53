#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// Opens the addresses behind links and buttons with the desktop's default handler.
//
// Addresses reach us from the network (a visitor's page address in the popup) as well as from
// our own dialogs, so only web and mail addresses (http, https, ftp, mailto) and the local files
// we ship (the licence text) are opened; anything else is refused. Addresses go to the desktop's
// URL service as one encoded argument and are never put into a command line.
//
// Results follow the console's old shell-execute numbering, which the error texts are keyed
// by: above 32 is success, 32 or less names the failure.
class CUrlLauncher final
{
public:
    static constexpr int kOpened = 33;
    static constexpr int kFileNotFound = 2;   // empty address, shipped file missing, bare name
    static constexpr int kAccessDenied = 5;   // a scheme or a file we do not open
    static constexpr int kNoAssociation = 31; // the desktop found nothing to open it with

    // Receives the address to open; returns whether the desktop accepted it.
    using Opener = std::function<bool(const QUrl&)>;

    // Opens through QDesktopServices.
    CUrlLauncher();
    explicit CUrlLauncher(Opener opener);

    // The launcher every widget uses unless given another one.
    static const CUrlLauncher& Desktop();

    // Local files that may be opened by their bare name, and the folders searched for them in
    // order. Until set: "license.txt", beside the executable and in ../share/parlendo.
    void SetShippedFiles(const QStringList& directories, const QStringList& names);

    // What an address would open: the URL, or an empty URL with the refusal in code.
    QUrl Resolve(const QString& address, int* code) const;

    // Where an address comes from. One from the network (a visitor's page, a server's page)
    // opens only as a web page, whatever it says it is: a "mailto:...?attach=..." of a stranger
    // must not reach the mail program.
    enum class Origin
    {
        Own,
        Network,
    };

    // kOpened, or the code of the refusal or failure.
    int OpenUrl(const QString& address, Origin origin = Origin::Own) const;

    static QString ErrorText(int code);
    // The sentence shown to the operator when an address could not be opened.
    static QString FailureMessage(int code);

private:
    QStringList Directories() const;
    QUrl ShippedFile(const QString& name, int* code) const;
    bool IsShippedPath(const QString& path) const;

    Opener m_opener;
    QStringList m_directories;
    QStringList m_names{QStringLiteral("license.txt")};
};
