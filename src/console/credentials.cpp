#include "credentials.h"

#include "app_settings.h"
#include "credential_store.h"

CCredentials::CCredentials(CAppSettings& settings, CCredentialStore* store, QObject* parent)
    : QObject(parent), m_settings(settings), m_store(store)
{
    // With a store, the file holds a password only once the store has put it there.
    if (m_store)
        m_settings.m_passwordInFile = false;
}

void CCredentials::Load(std::function<void()> ready)
{
    if (!m_store || m_settings.m_username.isEmpty()) {
        ready();
        return;
    }
    const QString filePassword = m_settings.m_password;
    const QString account = m_settings.m_username;
    const auto read = [this, account, ready] {
        m_store->Read(account, [this, ready](const CCredentialStore::Result& result) {
            if (result.outcome == CCredentialStore::Outcome::Ok && !result.password.isEmpty())
                m_settings.m_password = result.password;
            ready();
        });
    };
    if (filePassword.isEmpty()) {
        read();
        return;
    }
    // The file's password stays in memory whatever the keyring says.
    m_store->Migrate(account, filePassword, [ready](const CCredentialStore::Result&) { ready(); });
}

void CCredentials::Keep(bool remember)
{
    if (!m_store) {
        m_settings.Save();
        return;
    }
    const auto ignore = [](const CCredentialStore::Result&) {};
    if (remember)
        m_store->Write(m_settings.m_username, m_settings.m_password, ignore);
    else
        m_store->Forget(m_settings.m_username, ignore);
}
