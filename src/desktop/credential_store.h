#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>

namespace QKeychain {
class Job;
}

// Where the operator's password is kept between runs: the desktop's keyring (the Secret Service,
// reached through QtKeychain), and only where there is none, the settings file, which is
// private to the operator (mode 0600). The store does not read or write that file itself: the
// settings record hands it a FileCopy to put a password into it or take it out.
//
// Every operation is asynchronous and ends within the time limit: a keyring that is locked
// behind a prompt nobody answers, or that hangs, never holds up the console. The time limit
// covers finding the keyring and its answer.
//
// The three uses: "Remember my username and password" ticked: Write. Unticked: Forget, and the
// password lives in memory for the run only. At start: Migrate with the file's password, then
// Read when the file held none.
//
// Done runs exactly once per operation on this object's thread, never before the operation's
// call returns, and not at all once the store is gone. FileNotice at most once per store.
class CCredentialStore final : public QObject
{
    Q_OBJECT

public:
    // How the keyring answered.
    enum class Outcome
    {
        Ok,
        NotFound,
        NoKeyring,
        TimedOut,
        Failed
    };
    // Where the password is kept now.
    enum class Holder
    {
        Nowhere,
        Keyring,
        SettingsFile
    };
    struct Result
    {
        Outcome outcome = Outcome::Ok;
        Holder holder = Holder::Nowhere;
        QString password; // Read only
        QString detail;   // the keyring's reason, when it failed
    };
    using Done = std::function<void(const Result&)>;
    // Puts the password into the settings file and saves it; an empty one leaves none there.
    // False when the file could not be saved.
    using FileCopy = std::function<bool(const QString& password)>;

    static constexpr std::chrono::milliseconds kTimeLimit{5000};

    explicit CCredentialStore(FileCopy fileCopy, QObject* parent = nullptr);
    // Keyring operations still running are left to end by themselves; their results are dropped.
    ~CCredentialStore() override;

    void SetTimeLimit(std::chrono::milliseconds limit) { m_timeLimit = limit; }

    // The password filed under account (the console's username) in the keyring. NotFound: the
    // keyring has none; anything but Ok: the console uses the file's password, if any, or asks.
    void Read(const QString& account, Done done);
    // Keeps the password in the keyring and takes it out of the file; where the keyring cannot
    // take it, in the file instead (holder SettingsFile, and FileNotice).
    void Write(const QString& account, const QString& password, Done done);
    // Takes the password out of the keyring and out of the file.
    void Forget(const QString& account, Done done);
    // Moves a password found in the settings file into the keyring, taking it out of the file
    // once the keyring holds it. Where the keyring cannot take it, it stays in the file (holder
    // SettingsFile, and FileNotice). An empty filePassword has nothing to move.
    void Migrate(const QString& account, const QString& filePassword, Done done);

signals:
    // The password is being kept in the settings file because the keyring could not take it:
    // a notice for the operator that stops nothing.
    void FileNotice(const QString& text);

private:
    using Answer = std::function<void(Outcome, const QString& detail, QKeychain::Job* job)>;

    // Runs one keyring job within the time limit; job is null in answer unless it finished.
    void Run(QKeychain::Job* job, Answer answer);
    void Keep(const QString& account, const QString& password, bool inFileAlready, Done done);
    void TellFileKeeps(Outcome outcome, const QString& detail);

    FileCopy m_fileCopy;
    std::chrono::milliseconds m_timeLimit = kTimeLimit;
    bool m_told = false;
};
