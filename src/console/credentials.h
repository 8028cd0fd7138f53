#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class CAppSettings;
class CCredentialStore;

// Where the operator's password lives between runs: in the desktop's keyring when the operator
// asked for it to be remembered, in the settings file (kept private) only where no keyring
// answers, and nowhere on disk otherwise, in memory for the run so that reconnecting still
// works. A password found in the file moves into the keyring on the first start.
//
// Without a store (a test, a desktop without the keyring library) the file keeps it as before.
class CCredentials final : public QObject
{
    Q_OBJECT

public:
    // Neither is owned; store may be null.
    CCredentials(CAppSettings& settings, CCredentialStore* store, QObject* parent = nullptr);

    // At start: fills the record's password from wherever it is kept, then runs ready (at once
    // without a store). Never longer than the store's time limit.
    void Load(std::function<void()> ready);
    // After the login dialog: remember (or forget) the password the record now holds.
    void Keep(bool remember);

private:
    CAppSettings& m_settings;
    QPointer<CCredentialStore> m_store;
};
