#include "active_chats.h"

#include "shortcut_table.h"

#include <QKeySequence>
#include <QTimer>

CActiveChats::CActiveChats(QObject* parent) : QAbstractListModel(parent), m_clock(new QTimer(this))
{
    m_clock->setInterval(std::chrono::seconds(15));
    connect(m_clock, &QTimer::timeout, this, [this] {
        if (!m_chats.isEmpty())
            emit dataChanged(index(0), index(Count() - 1), {WaitedRole, Qt::DisplayRole});
    });
}

int CActiveChats::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

QString CActiveChats::Waited(const QDateTime& since)
{
    if (!since.isValid())
        return {};
    const qint64 seconds = since.secsTo(QDateTime::currentDateTime());
    if (seconds < 60)
        return tr("now");
    if (seconds < 3600)
        return tr("%n min", nullptr, static_cast<int>(seconds / 60));
    return tr("%n h", nullptr, static_cast<int>(seconds / 3600));
}

QVariant CActiveChats::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return {};
    const Chat& chat = m_chats.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: {
        QString text = chat.name;
        if (chat.unread > 0)
            text += tr(", %n unread", nullptr, chat.unread);
        if (chat.ended)
            text += tr(", ended");
        else if (chat.typing)
            text += tr(", typing");
        return text;
    }
    case Qt::ToolTipRole:
        return index.row() < 9 ? tr("Alt+%1").arg(index.row() + 1) : QVariant();
    case UnreadRole:
        return chat.unread;
    case LastVisitorLineRole:
        return chat.lastVisitorLine;
    case TypingRole:
        return chat.typing;
    case EndedRole:
        return chat.ended;
    case WaitedRole:
        return Waited(chat.lastVisitorLine);
    default:
        return {};
    }
}

int CActiveChats::RowOf(const QWidget* chat) const
{
    for (qsizetype i = 0; i < m_chats.size(); ++i)
        if (m_chats[i].window == chat)
            return static_cast<int>(i);
    return -1;
}

void CActiveChats::Changed(int row)
{
    if (row >= 0)
        emit dataChanged(index(row), index(row));
}

void CActiveChats::Add(QWidget* chat, const QString& name)
{
    if (!chat || RowOf(chat) >= 0)
        return;
    beginInsertRows({}, Count(), Count());
    Chat fresh;
    fresh.window = chat;
    fresh.name = name;
    m_chats.append(fresh);
    endInsertRows();
    connect(chat, &QObject::destroyed, this, &CActiveChats::Forget);
    m_clock->start();
}

void CActiveChats::Forget(QObject* chat)
{
    // Found by address: the QPointer is already null while the window is being destroyed.
    for (qsizetype i = 0; i < m_chats.size(); ++i) {
        if (m_chats[i].window.isNull() || m_chats[i].window.data() == chat) {
            beginRemoveRows({}, static_cast<int>(i), static_cast<int>(i));
            m_chats.removeAt(i);
            endRemoveRows();
            --i;
        }
    }
    if (m_chats.isEmpty())
        m_clock->stop();
}

void CActiveChats::SetName(QWidget* chat, const QString& name)
{
    const int row = RowOf(chat);
    if (row < 0 || m_chats[row].name == name)
        return;
    m_chats[row].name = name;
    Changed(row);
}

void CActiveChats::VisitorWrote(QWidget* chat, bool seen)
{
    const int row = RowOf(chat);
    if (row < 0)
        return;
    Chat& c = m_chats[row];
    c.lastVisitorLine = QDateTime::currentDateTime();
    c.typing = false;
    if (!seen)
        ++c.unread;
    Changed(row);
    if (!seen)
        emit UnseenLine();
}

void CActiveChats::SetTyping(QWidget* chat, bool typing)
{
    const int row = RowOf(chat);
    if (row < 0 || m_chats[row].typing == typing)
        return;
    m_chats[row].typing = typing;
    Changed(row);
}

void CActiveChats::SetEnded(QWidget* chat)
{
    const int row = RowOf(chat);
    if (row < 0 || m_chats[row].ended)
        return;
    m_chats[row].ended = true;
    m_chats[row].typing = false;
    Changed(row);
}

void CActiveChats::Seen(QWidget* chat)
{
    const int row = RowOf(chat);
    if (row < 0 || m_chats[row].unread == 0)
        return;
    m_chats[row].unread = 0;
    Changed(row);
}

int CActiveChats::LiveCount() const
{
    int live = 0;
    for (const Chat& chat : m_chats)
        if (!chat.ended)
            ++live;
    return live;
}

QWidget* CActiveChats::ChatAt(int place) const
{
    return place >= 0 && place < Count() ? m_chats.at(place).window.data() : nullptr;
}

int CActiveChats::SeparateWindows() const
{
    int separate = 0;
    for (const Chat& chat : m_chats)
        if (chat.window && chat.window->isWindow())
            ++separate;
    return separate;
}

void CActiveChats::ActivateNext(QWidget* current, int step)
{
    if (m_chats.isEmpty())
        return;
    const int at = RowOf(current);
    const int count = Count();
    const int next = at < 0 ? (step > 0 ? 0 : count - 1) : ((at + step) % count + count) % count;
    ActivateAt(next);
}

void CActiveChats::ActivateAt(int place)
{
    Activate(ChatAt(place));
}

void CActiveChats::Activate(QWidget* chat)
{
    if (!chat)
        return;
    emit ActivationRequested(chat);
    QWidget* window = chat->window();
    if (window->isMinimized() || window->isHidden())
        window->showNormal();
    window->raise();
    window->activateWindow();
    chat->setFocus(Qt::OtherFocusReason);
    Seen(chat);
}

CShortcutTable CActiveChats::KeyTable()
{
    QList<QKeySequence> places;
    for (int place = 0; place < 9; ++place)
        places.append(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + place)));
    CShortcutTable table(tr("Chats"));
    table.Add(QStringLiteral("nextChat"), tr("Go to the next chat"),
              {QKeySequence(Qt::CTRL | Qt::Key_Tab)});
    // Shift turns Tab into Backtab on some keyboards and not on others.
    table.Add(QStringLiteral("previousChat"), tr("Go to the previous chat"),
              {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)});
    table.AddEachKey(QStringLiteral("chatAt"), tr("Go to the first to the ninth chat"), places);
    return table;
}

void CActiveChats::AddKeys(QWidget* window, QWidget* current)
{
    const QPointer<CActiveChats> self(this);
    KeyTable().Install(window, {{QStringLiteral("nextChat"),
                                 [self, current](int) {
                                     if (self)
                                         self->ActivateNext(current, 1);
                                 }},
                                {QStringLiteral("previousChat"),
                                 [self, current](int) {
                                     if (self)
                                         self->ActivateNext(current, -1);
                                 }},
                                {QStringLiteral("chatAt"), [self](int place) {
                                     if (self)
                                         self->ActivateAt(place);
                                 }}});
}
