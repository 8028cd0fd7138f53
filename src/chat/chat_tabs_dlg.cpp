#include "chat_tabs_dlg.h"

#include "active_chats.h"
#include "layout_profile.h"
#include "window_layout.h"

#include <QCloseEvent>
#include <QEvent>
#include <QIcon>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

CChatTabsDlg::CChatTabsDlg(CActiveChats& chats, const CLayoutProfile& profile, QWidget* parent)
    : QWidget(parent, Qt::Window), m_chats(chats), m_profile(profile),
      m_tabs(new QTabWidget(this)), m_tabClock(new QTimer(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("chatTabs"));
    setWindowTitle(tr("Parlendo"));
    setWindowIcon(QIcon(QStringLiteral(":/console/parlendo.svg")));
    m_tabs->setObjectName(QStringLiteral("chatTabBar"));
    m_tabs->setDocumentMode(true);
    m_tabs->setTabsClosable(true);
    m_tabs->setMovable(false); // the order is the active chats list's, which Alt+n follows
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    resize(700, 500);
    CWindowLayout(m_profile).RestoreWindow(this, QString::fromLatin1(LayoutSection::ChatWindow));

    connect(m_tabs, &QTabWidget::tabCloseRequested, this, [this](int index) {
        if (QWidget* chat = m_tabs->widget(index))
            chat->close();
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        UpdateTitle();
        if (QWidget* chat = m_tabs->currentWidget(); chat && isActiveWindow())
            m_chats.Seen(chat);
    });
    // Going to a chat that is a tab here first shows its tab.
    connect(&m_chats, &CActiveChats::ActivationRequested, this, [this](QWidget* chat) {
        if (m_tabs->indexOf(chat) >= 0)
            m_tabs->setCurrentWidget(chat);
    });
    // A new text lays the whole tab bar out again, and a busy afternoon changes a row with every
    // visitor's line: the tabs follow the list at most ten times a second.
    m_tabClock->setSingleShot(true);
    m_tabClock->setInterval(100);
    connect(m_tabClock, &QTimer::timeout, this, [this] {
        UpdateTabs(std::exchange(m_dirtyFirst, -1), std::exchange(m_dirtyLast, -1));
    });
    connect(&m_chats, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                UpdateTabsLater(first.row(), last.row());
            });
}

void CChatTabsDlg::AddChat(QWidget* chat)
{
    // A page of the tabs from now on, whatever it was made as.
    chat->setParent(m_tabs, Qt::Widget);
    chat->installEventFilter(this);
    const int index = m_tabs->addTab(chat, chat->windowIcon(), chat->windowTitle());
    m_tabs->setCurrentIndex(index);
    // A chat that closes leaves its tab; the window goes with the last one.
    // Queued: while destroyed is emitted the page is still one of the tabs.
    connect(
        chat, &QObject::destroyed, this,
        [this] {
            if (m_tabs->count() == 0)
                close();
        },
        Qt::QueuedConnection);
    UpdateTabs(0, m_chats.Count() - 1);
    show();
    raise();
    activateWindow();
}

bool CChatTabsDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowTitleChange)
        UpdateTitle();
    return QWidget::eventFilter(watched, event);
}

void CChatTabsDlg::UpdateTabsLater(int firstPlace, int lastPlace)
{
    m_dirtyFirst = m_dirtyFirst < 0 ? firstPlace : std::min(m_dirtyFirst, firstPlace);
    m_dirtyLast = std::max(m_dirtyLast, lastPlace);
    if (!m_tabClock->isActive())
        m_tabClock->start();
}

void CChatTabsDlg::UpdateTabs(int firstPlace, int lastPlace)
{
    // Only what changed, and only when it did.
    for (int place = std::max(0, firstPlace); place <= lastPlace && place < m_chats.Count();
         ++place) {
        const int tab = m_tabs->indexOf(m_chats.ChatAt(place));
        if (tab < 0)
            continue;
        const QModelIndex row = m_chats.index(place);
        const QString shown = row.data(Qt::DisplayRole).toString();
        const QString name = shown.section(QStringLiteral(", "), 0, 0);
        const int unread = row.data(CActiveChats::UnreadRole).toInt();
        const QString text = unread > 0 ? tr("%1 (%2)").arg(name).arg(unread) : name;
        if (m_tabs->tabText(tab) != text)
            m_tabs->setTabText(tab, text);
        if (m_tabs->tabToolTip(tab) != shown)
            m_tabs->setTabToolTip(tab, shown);
    }
}

void CChatTabsDlg::UpdateTitle()
{
    QWidget* chat = m_tabs->currentWidget();
    setWindowTitle(chat ? chat->windowTitle() : tr("Parlendo"));
}

void CChatTabsDlg::closeEvent(QCloseEvent* event)
{
    // Each chat is asked as its own window would be; one that stays keeps the window open.
    for (int tab = m_tabs->count() - 1; tab >= 0; --tab) {
        if (!m_tabs->widget(tab)->close()) {
            event->ignore();
            return;
        }
    }
    CWindowLayout(m_profile).SaveWindow(this, QString::fromLatin1(LayoutSection::ChatWindow));
    event->accept();
}
