#pragma once

#include <QString>
#include <array>

// The value names of the settings file, defined here once. Every name is a top-level key of
// the file (the INI writer files them under [General]).
namespace SettingsKey {
inline constexpr char ServerAddress[] = "ServerAddress";
inline constexpr char ServerPort[] = "ServerPort";
inline constexpr char Username[] = "Username";
inline constexpr char Password[] = "Password";
inline constexpr char SaveLogin[] = "SaveLogin";
inline constexpr char AutoLogin[] = "AutoLogin";
inline constexpr char AutoRun[] = "AutoRun";
inline constexpr char Reconnect[] = "Reconnect";
inline constexpr char ShowHints[] = "ShowHints";
inline constexpr char NotifyTimeout[] = "NotifyTimeout";
inline constexpr char NotifySound[] = "NotifySound";
inline constexpr char WelcomeMsg[] = "WelcomeMsg";
inline constexpr char ChatTabs[] = "ChatTabs";
inline constexpr char LineSound[] = "LineSound";
inline constexpr char TranscriptTimes[] = "TranscriptTimes";
inline constexpr char HistoryDays[] = "HistoryDays";
inline constexpr char Theme[] = "Theme";
inline constexpr std::array<const char*, 5> BlockIp = {"BlockIp1", "BlockIp2", "BlockIp3",
                                                       "BlockIp4", "BlockIp5"};
inline constexpr std::array<const char*, 5> BaseUrl = {"BaseUrl1", "BaseUrl2", "BaseUrl3",
                                                       "BaseUrl4", "BaseUrl5"};
} // namespace SettingsKey

// The operator's preferences and credentials. The application owns the one record of the
// process and hands every editor and reader a reference to it; editors change the members
// directly and then call Save(). The record is never reloaded after construction, so a change
// made in memory is what every later reader sees, saved or not. Window thread only: what a
// log-in needs is copied out of it there before any work goes to the pool.
//
// The password is kept in the file only where the desktop has no keyring to take it; its
// folder is created 0700 and the file is kept 0600 on every save. Texts are stored as UTF-8.
class CAppSettings final
{
public:
    // Size of the read buffer of a text, its terminating zero included, in bytes: a stored text
    // of up to capacity - 1 bytes loads whole, a longer one is treated as absent. Editors limit
    // their inputs accordingly (MaxTextBytes).
    static constexpr int kTextCapacity = 250;
    static constexpr int kBaseUrlCapacity = 800;
    static constexpr int MaxTextBytes(int capacity) { return capacity - 1; }

    // The chat server of the service itself, used until the operator enters another one.
    // None: a first start asks which server the operator's account is on.
    static constexpr char kDefaultServerAddress[] = "";
    static constexpr int kDefaultServerPort = 3030;
    static constexpr char kDefaultWelcomeMsg[] = "Thank you for contacting us. How can I help you?";

    // Sets every member to its default, then loads the file, whose absence leaves the defaults.
    // An empty path means the per-user file; the console's demo mode passes a throw-away one.
    explicit CAppSettings(QString filePath = {});

    // $XDG_CONFIG_HOME/Parlendo/Operator.conf (~/.config when the variable is not set).
    static QString DefaultFilePath();
    const QString& FilePath() const { return m_filePath; }

    // 0, or -1 when the file cannot be opened; then every member keeps its value. A value that
    // is absent, not a number where one is expected, or longer than its capacity keeps the
    // member's value, so an empty WelcomeMsg that is stored stays empty.
    int Load();
    // Writes every member, empty texts included, and replaces the file atomically: 0, or -1
    // when the folder or the file cannot be written, the file on disk then being left as it
    // was. A text longer than its capacity is cut, on a character boundary, to what Load takes
    // back; the member itself is not changed.
    int Save() const;

    bool operator==(const CAppSettings& other) const = default;

    QString m_serverAddress = QString::fromLatin1(kDefaultServerAddress);
    int m_serverPort = kDefaultServerPort;
    QString m_username;
    QString m_password;
    // The 0/1 members hold a check box state as its dialog reports it.
    int m_saveLogin = 0;
    int m_autoLogin = 0;
    int m_autoRun = 0;
    int m_reconnect = 1;
    int m_showHints = 1;
    int m_notifyTimeout = 60; // seconds the incoming-call dialog stays up
    int m_notifySound = 1;
    QString m_welcomeMsg = QString::fromLatin1(kDefaultWelcomeMsg);
    int m_chatTabs = 0; // chats as tabs of one window instead of windows of their own
    int m_lineSound = 1; // a note for a visitor's line in a chat not in front
    // Whether Save writes the password into the file (not itself a setting): the desktop's
    // keyring, where there is one, keeps it instead, and an operator who did not ask for it to
    // be remembered has it in memory for the run only.
    bool m_passwordInFile = true;
    int m_transcriptTimes = 1; // the time before each line of a chat window's transcript
    int m_historyDays = 0;     // days the chat history keeps a chat; 0 keeps every chat
    int m_theme = 0;           // CAppTheme: 0 the desktop's, 1 light, 2 dark
    std::array<QString, 5> m_blockIp;
    std::array<QString, 5> m_baseUrl;

private:
    QString m_filePath;
};
