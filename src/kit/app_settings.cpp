#include "app_settings.h"

#include "stored_number.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QVariant>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <utility>

namespace {

constexpr int kFailed = -1;
constexpr QFile::Permissions kPrivateFile = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions kPrivateFolder = kPrivateFile | QFile::ExeOwner;

QString Key(const char* name)
{
    return QString::fromLatin1(name);
}

// A value that is not a plain string counts as absent: the INI reader turns an unquoted line
// with commas, which this writer never produces, into a list.
void ReadText(const QSettings& store, const char* key, int capacity, QString& field)
{
    const QVariant value = store.value(Key(key));
    if (value.typeId() != QMetaType::QString)
        return;
    QString text = value.toString();
    if (text.toUtf8().size() > CAppSettings::MaxTextBytes(capacity))
        return;
    field = std::move(text);
}

// A number is taken as the 32 bits it was stored in: the signed decimal this writer uses, or
// the unsigned decimal of the same bits. Anything else counts as absent. Numbers come back as
// numbers rather than texts when QSettings serves them from its in-process cache.
void ReadInt(const QSettings& store, const char* key, int& field)
{
    const std::optional<qlonglong> number = StoredNumber(store.value(Key(key)));
    if (!number || *number < std::numeric_limits<std::int32_t>::min() ||
        *number > static_cast<qlonglong>(std::numeric_limits<std::uint32_t>::max()))
        return;
    field = static_cast<std::int32_t>(static_cast<std::uint32_t>(*number));
}

// Cuts a text to what ReadText takes back, never inside a UTF-8 sequence.
QString Clipped(const QString& text, int capacity)
{
    const QByteArray bytes = text.toUtf8();
    const qsizetype limit = CAppSettings::MaxTextBytes(capacity);
    if (bytes.size() <= limit)
        return text;
    qsizetype cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80)
        --cut;
    return QString::fromUtf8(bytes.constData(), cut);
}

void WriteRecord(QSettings& store, const CAppSettings& s)
{
    using namespace SettingsKey;
    const auto text = [&store](const char* key, const QString& value, int capacity) {
        store.setValue(Key(key), Clipped(value, capacity));
    };
    const auto number = [&store](const char* key, int value) { store.setValue(Key(key), value); };
    text(ServerAddress, s.m_serverAddress, CAppSettings::kTextCapacity);
    text(Username, s.m_username, CAppSettings::kTextCapacity);
    // Kept elsewhere (the keyring, or memory for this run only), the password leaves the file.
    text(Password, s.m_passwordInFile ? s.m_password : QString(), CAppSettings::kTextCapacity);
    text(WelcomeMsg, s.m_welcomeMsg, CAppSettings::kTextCapacity);
    for (size_t i = 0; i < BlockIp.size(); ++i)
        text(BlockIp[i], s.m_blockIp[i], CAppSettings::kTextCapacity);
    for (size_t i = 0; i < BaseUrl.size(); ++i)
        text(BaseUrl[i], s.m_baseUrl[i], CAppSettings::kBaseUrlCapacity);
    number(ServerPort, s.m_serverPort);
    number(SaveLogin, s.m_saveLogin);
    number(AutoLogin, s.m_autoLogin);
    number(AutoRun, s.m_autoRun);
    number(Reconnect, s.m_reconnect);
    number(ShowHints, s.m_showHints);
    number(NotifyTimeout, s.m_notifyTimeout);
    number(NotifySound, s.m_notifySound);
    number(ChatTabs, s.m_chatTabs);
    number(LineSound, s.m_lineSound);
    number(TranscriptTimes, s.m_transcriptTimes);
    number(HistoryDays, s.m_historyDays);
    number(Theme, s.m_theme);
}

// The per-user folder is ours and is tightened whoever created it; a folder that a caller named
// is only made private when it is created here.
bool PrepareFolder(const QString& filePath)
{
    const QString folder = QFileInfo(filePath).absolutePath();
    const QFileInfo info(folder);
    if (info.isDir()) {
        if (folder == QFileInfo(CAppSettings::DefaultFilePath()).absolutePath())
            QFile::setPermissions(folder, kPrivateFolder);
        return true;
    }
    const QString parent = info.absolutePath();
    if (!QDir().mkpath(parent))
        return false;
    return QDir(parent).mkdir(info.fileName(), kPrivateFolder) || QFileInfo(folder).isDir();
}

// Whether an INI file that QSettings reports written holds every value of the record. In
// Qt 6.4 a short write (disk full) fails only the final flush of its QSaveFile, which then
// commits the cut file all the same and reports no error.
bool HoldsWholeRecord(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (!bytes.endsWith('\n'))
        return false;
    const auto has = [&bytes](const char* key) {
        return bytes.contains('\n' + QByteArray(key) + '=');
    };
    using namespace SettingsKey;
    for (const char* key : {ServerAddress, ServerPort, Username, Password, SaveLogin, AutoLogin,
                            AutoRun, Reconnect, ShowHints, NotifyTimeout, NotifySound, WelcomeMsg,
                            ChatTabs, LineSound, TranscriptTimes, HistoryDays, Theme})
        if (!has(key))
            return false;
    return std::all_of(BlockIp.begin(), BlockIp.end(), has) &&
           std::all_of(BaseUrl.begin(), BaseUrl.end(), has);
}

} // namespace

CAppSettings::CAppSettings(QString filePath)
    : m_filePath(filePath.isEmpty() ? DefaultFilePath() : std::move(filePath))
{
    Load(); // a missing file leaves the defaults, which is all a first start needs
}

QString CAppSettings::DefaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Parlendo/Operator.conf");
}

int CAppSettings::Load()
{
    QFile probe(m_filePath);
    if (!QFileInfo(m_filePath).isFile() || !probe.open(QIODevice::ReadOnly))
        return kFailed;
    probe.close();

    const QSettings store(m_filePath, QSettings::IniFormat);
    if (store.status() == QSettings::AccessError)
        return kFailed;
    // A line the reader cannot parse (FormatError) costs only its own value.
    using namespace SettingsKey;
    ReadText(store, ServerAddress, kTextCapacity, m_serverAddress);
    ReadText(store, Username, kTextCapacity, m_username);
    ReadText(store, Password, kTextCapacity, m_password);
    ReadText(store, WelcomeMsg, kTextCapacity, m_welcomeMsg);
    for (size_t i = 0; i < BlockIp.size(); ++i)
        ReadText(store, BlockIp[i], kTextCapacity, m_blockIp[i]);
    for (size_t i = 0; i < BaseUrl.size(); ++i)
        ReadText(store, BaseUrl[i], kBaseUrlCapacity, m_baseUrl[i]);
    ReadInt(store, ServerPort, m_serverPort);
    ReadInt(store, SaveLogin, m_saveLogin);
    ReadInt(store, AutoLogin, m_autoLogin);
    ReadInt(store, AutoRun, m_autoRun);
    ReadInt(store, Reconnect, m_reconnect);
    ReadInt(store, ShowHints, m_showHints);
    ReadInt(store, NotifyTimeout, m_notifyTimeout);
    ReadInt(store, NotifySound, m_notifySound);
    ReadInt(store, ChatTabs, m_chatTabs);
    ReadInt(store, LineSound, m_lineSound);
    ReadInt(store, TranscriptTimes, m_transcriptTimes);
    ReadInt(store, HistoryDays, m_historyDays);
    ReadInt(store, Theme, m_theme);
    return 0;
}

int CAppSettings::Save() const
{
    if (!PrepareFolder(m_filePath))
        return kFailed;
    // The record goes into a new file beside the old one, private from its creation, and takes
    // the old one's place only once it is known whole. Values of other names that the old file
    // holds (a newer console's) are carried over.
    QTemporaryFile fresh(m_filePath + QStringLiteral(".XXXXXX"));
    if (!fresh.open())
        return kFailed;
    fresh.close();
    {
        QSettings out(fresh.fileName(), QSettings::IniFormat);
        const QSettings previous(m_filePath, QSettings::IniFormat);
        for (const QString& key : previous.allKeys())
            out.setValue(key, previous.value(key));
        WriteRecord(out, *this);
        out.sync();
        if (out.status() != QSettings::NoError)
            return kFailed;
    }
    if (!HoldsWholeRecord(fresh.fileName()))
        return kFailed;
    if (std::rename(QFile::encodeName(fresh.fileName()).constData(),
                    QFile::encodeName(m_filePath).constData()) != 0)
        return kFailed;
    fresh.setAutoRemove(false);
    return 0;
}
