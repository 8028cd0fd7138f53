#pragma once

#include <QAbstractListModel>
#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QWidget>

class CShortcutTable;
class QTimer;

// The chats open now, in the order they opened: who each one is with, how many of the visitor's
// lines the operator has not seen, how long ago the visitor last wrote, and whether the visitor
// is typing or the chat has ended. The chat windows keep their rows up to date; the console
// shows the list; both go from chat to chat through it (Ctrl+Tab, Alt+1...9).
//
// A row goes when its chat window is destroyed. Everything here runs on the GUI thread.
class CActiveChats final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role : int
    {
        UnreadRole = Qt::UserRole + 1,
        LastVisitorLineRole, // QDateTime, invalid before the visitor's first line
        TypingRole,
        EndedRole,
        WaitedRole, // the time since the visitor's last line, as the list shows it
    };

    explicit CActiveChats(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The chat windows' side.
    void Add(QWidget* chat, const QString& name);
    void SetName(QWidget* chat, const QString& name);
    // A line of the visitor's came; unseen when the chat is not the one the operator looks at.
    void VisitorWrote(QWidget* chat, bool seen);
    void SetTyping(QWidget* chat, bool typing);
    void SetEnded(QWidget* chat);
    // The operator looks at the chat now.
    void Seen(QWidget* chat);

    // Going from chat to chat. The chat comes to the front (ActivationRequested lets a window
    // of tabs select it first); step 1 is the next, -1 the previous, from current (or the start
    // when current is not a chat).
    void ActivateNext(QWidget* current, int step);
    // By its place in the list, 0 for the first.
    void ActivateAt(int place);
    void Activate(QWidget* chat);
    int Count() const { return static_cast<int>(m_chats.size()); }
    // Chats that have not ended.
    int LiveCount() const;
    QWidget* ChatAt(int place) const;
    // How many chats show as windows of their own, for placing the next one.
    int SeparateWindows() const;
    // Gives a window the keys that go from chat to chat: Ctrl+Tab and Ctrl+Shift+Tab to the
    // next and the previous, Alt+1...9 to the chat at that place. current is the chat the window
    // shows, or null (the console).
    void AddKeys(QWidget* window, QWidget* current);
    // Those keys, for the lists of the windows that have them.
    static CShortcutTable KeyTable();

signals:
    // Before the chat's window comes to the front.
    void ActivationRequested(QWidget* chat);
    // A visitor wrote in a chat the operator is not looking at.
    void UnseenLine();

private:
    struct Chat
    {
        QPointer<QWidget> window;
        QString name;
        int unread = 0;
        QDateTime lastVisitorLine;
        bool typing = false;
        bool ended = false;
    };

    int RowOf(const QWidget* chat) const;
    void Changed(int row);
    void Forget(QObject* chat);
    static QString Waited(const QDateTime& since);

    QList<Chat> m_chats;
    // The "waited" column reads the clock: it is refreshed every so often.
    QTimer* m_clock;
};
