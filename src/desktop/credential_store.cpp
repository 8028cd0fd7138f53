#include "credential_store.h"

#include "bus_name_watch.h"

#include <QDBusConnection>
#include <QMetaObject>
#include <QTimer>
#include <memory>
#include <qt6keychain/keychain.h>

namespace {

const QString kKeyringService = QStringLiteral("Parlendo");

CCredentialStore::Outcome OutcomeOf(const QKeychain::Job& job)
{
    switch (job.error()) {
    case QKeychain::NoError:
        return CCredentialStore::Outcome::Ok;
    case QKeychain::EntryNotFound:
        return CCredentialStore::Outcome::NotFound;
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
        return CCredentialStore::Outcome::NoKeyring;
    default:
        return CCredentialStore::Outcome::Failed;
    }
}

template <typename JobType> JobType* NewJob(const QString& account, QObject* parent)
{
    auto* job = new JobType(kKeyringService, parent);
    job->setKey(account);
    job->setAutoDelete(true);
    return job;
}

} // namespace

CCredentialStore::CCredentialStore(FileCopy fileCopy, QObject* parent)
    : QObject(parent), m_fileCopy(std::move(fileCopy))
{
}

CCredentialStore::~CCredentialStore()
{
    // A keyring library may still call back into a running job: it must outlive the store, and
    // deletes itself once it has finished.
    for (QKeychain::Job* job : findChildren<QKeychain::Job*>(Qt::FindDirectChildrenOnly))
        job->setParent(nullptr);
}

void CCredentialStore::Run(QKeychain::Job* job, Answer answer)
{
    // Whichever comes first, the keyring's answer or the time limit, decides; the other is
    // dropped. The job is started only once the keyring is known to be there, since the library
    // would otherwise take the default bus time-out to find out.
    auto pending = std::make_shared<Answer>(std::move(answer));
    const auto settle = [pending](Outcome outcome, const QString& detail, QKeychain::Job* done) {
        if (!*pending)
            return;
        const Answer answer = std::exchange(*pending, nullptr);
        answer(outcome, detail, done);
    };
    QTimer::singleShot(m_timeLimit, this,
                       [settle] { settle(Outcome::TimedOut, QString(), nullptr); });
    connect(job, &QKeychain::Job::finished, this, [settle](QKeychain::Job* done) {
        settle(OutcomeOf(*done), done->errorString(), done);
    });
    CBusNameWatch::Ask(QDBusConnection::sessionBus(), QStringLiteral("org.freedesktop.secrets"),
                       this, [job, pending, settle](bool present) {
                           if (!*pending) {
                               job->deleteLater(); // never started: nothing calls back into it
                           } else if (present) {
                               job->start();
                           } else {
                               job->deleteLater();
                               settle(Outcome::NoKeyring, QString(), nullptr);
                           }
                       });
}

void CCredentialStore::Read(const QString& account, Done done)
{
    Run(NewJob<QKeychain::ReadPasswordJob>(account, this),
        [done = std::move(done)](Outcome outcome, const QString& detail, QKeychain::Job* job) {
            Result result{outcome, Holder::Nowhere, {}, detail};
            if (outcome == Outcome::Ok) {
                result.holder = Holder::Keyring;
                result.password = static_cast<QKeychain::ReadPasswordJob*>(job)->textData();
            }
            done(result);
        });
}

void CCredentialStore::Write(const QString& account, const QString& password, Done done)
{
    Keep(account, password, false, std::move(done));
}

void CCredentialStore::Migrate(const QString& account, const QString& filePassword, Done done)
{
    if (filePassword.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [done = std::move(done)] { done({}); }, Qt::QueuedConnection);
        return;
    }
    Keep(account, filePassword, true, std::move(done));
}

void CCredentialStore::Keep(const QString& account, const QString& password, bool inFileAlready,
                            Done done)
{
    auto* job = NewJob<QKeychain::WritePasswordJob>(account, this);
    job->setTextData(password);
    Run(job, [this, password, inFileAlready,
              done = std::move(done)](Outcome outcome, const QString& detail, QKeychain::Job*) {
        if (outcome == Outcome::Ok) {
            m_fileCopy(QString()); // should this fail, the next start moves it again
            done({Outcome::Ok, Holder::Keyring, {}, {}});
            return;
        }
        const bool kept = inFileAlready || m_fileCopy(password);
        if (kept)
            TellFileKeeps(outcome, detail);
        done({outcome, kept ? Holder::SettingsFile : Holder::Nowhere, {}, detail});
    });
}

void CCredentialStore::Forget(const QString& account, Done done)
{
    Run(NewJob<QKeychain::DeletePasswordJob>(account, this),
        [this, done = std::move(done)](Outcome outcome, const QString& detail, QKeychain::Job*) {
            // Nothing to take out of the keyring is as good as taken out.
            if (outcome == Outcome::NotFound)
                outcome = Outcome::Ok;
            if (!m_fileCopy(QString())) {
                done({Outcome::Failed,
                      Holder::SettingsFile,
                      {},
                      tr("the settings file could not be saved")});
                return;
            }
            done({outcome, Holder::Nowhere, {}, detail});
        });
}

void CCredentialStore::TellFileKeeps(Outcome outcome, const QString& detail)
{
    if (m_told)
        return;
    m_told = true;
    if (outcome == Outcome::NoKeyring) {
        emit FileNotice(tr("There is no keyring on this desktop: your password is kept in the "
                           "settings file, which only you can read."));
        return;
    }
    const QString reason = outcome == Outcome::TimedOut ? tr("it did not answer in time") : detail;
    emit FileNotice(tr("The keyring could not take your password (%1): it is kept in the "
                       "settings file, which only you can read.")
                        .arg(reason));
}
