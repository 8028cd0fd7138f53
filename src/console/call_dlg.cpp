#include "call_dlg.h"

#include "app_settings.h"
#include "dialog_picture.h"
#include "dialog_units.h"
#include "flat_button.h"
#include "option_values.h"
#include "ring_player.h"
#include "shown_text.h"
#include "toolbar_button.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// NotifyTimeout in whole seconds. Zero or less can only come from a damaged settings file (the
// options dialog takes 1 and up) and would close every offer before it is seen: the default
// stands in for it.
int TimeoutSeconds(int stored)
{
    if (stored < 1)
        return CAppSettings().m_notifyTimeout;
    return std::min(stored, kMaxNotifyTimeout);
}

} // namespace

std::chrono::milliseconds CCallDlg::Lifetime(const CAppSettings& settings,
                                             std::chrono::milliseconds second)
{
    return second * TimeoutSeconds(settings.m_notifyTimeout);
}

CCallDlg::CCallDlg(const CAppSettings& settings, const QString& notice, const CIncomingCall& call,
                   ChatWindowFactory openChat, CRingPlayer* ring,
                   std::chrono::milliseconds lifetime, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint),
      m_accept(new CFlatButton(tr("Accept"), this)), m_cancel(new CFlatButton(tr("Cancel"), this)),
      m_message(new QLabel(this)), m_notice(notice), m_call(call),
      m_rings(settings.m_notifySound != 0),
      m_lifetime(lifetime),
      m_openChat(std::move(openChat)), m_ring(ring), m_timer(new QTimer(this))
{
    setWindowTitle(tr("Parlendo Call"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);
    BuildControls();

    m_timer->setSingleShot(true);
    m_timer->setInterval(m_lifetime);
    connect(m_timer, &QTimer::timeout, this, [this] { done(kTimedOut); });
    connect(m_accept, &CFlatButton::clicked, this, &CCallDlg::accept);
    connect(m_cancel, &CFlatButton::clicked, this, &CCallDlg::reject);
}

CCallDlg::~CCallDlg()
{
    if (m_ring)
        m_ring->Silence(this);
}

void CCallDlg::BuildControls()
{
    const CDialogUnits units(font());

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(units.X(1), units.Y(0), units.X(6), units.Y(1));
    row->setSpacing(units.X(4));
    row->addWidget(new CDialogPicture(68, 100, frame), 0, Qt::AlignTop);

    // The name in it comes from the network: never read as markup.
    m_message->setTextFormat(Qt::PlainText);
    QString shown = m_notice;
    if (const auto& carried = m_call.Carried(); carried && !carried->trimmed().isEmpty())
        shown += QLatin1Char('\n') + tr("\u201c%1\u201d").arg(ShownLine(*carried, 120));
    m_message->setText(shown);
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_message->setObjectName(QStringLiteral("message"));
    auto* text = new QVBoxLayout;
    text->setContentsMargins(0, units.Y(6), 0, 0);
    text->addWidget(m_message);
    text->addStretch(1);
    row->addLayout(text, 1);
    frame->setFixedSize(units.Size(212, 102));

    SetUpToolbarButton(*m_accept, QStringLiteral(":/ui/accept.svg"));
    SetUpToolbarButton(*m_cancel, QStringLiteral(":/ui/cancel.svg"));
    for (CFlatButton* button : {m_accept, m_cancel}) {
        const QSize planned = units.Size(39, 14);
        const QSize wanted = button->sizeHint();
        button->setFixedSize(std::max(planned.width(), wanted.width()),
                             std::max(planned.height(), wanted.height()));
    }
    m_accept->setObjectName(QStringLiteral("accept"));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(units.X(9));
    buttons->addStretch(1);
    buttons->addWidget(m_accept);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(units.X(8), units.Y(8), units.X(9), units.Y(8));
    layout->setSpacing(units.Y(6));
    layout->addWidget(frame);
    layout->addLayout(buttons);
    // Fixed before the window exists, as a dialog of a template is.
    setFixedSize(sizeHint());

    // The default button: Enter answers with it unless Cancel has the focus.
    m_accept->setFocus();
}

void CCallDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_opened || m_closed)
        return;
    m_opened = true;
    if (m_rings && m_ring)
        m_ring->Ring(this);
    m_timer->start();
    // Until the operator turns to it.
    QApplication::alert(this, 0);
}

void CCallDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (focusWidget() == m_cancel)
            reject();
        else
            accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CCallDlg::accept()
{
    if (m_closed)
        return;
    // Closed first, so that the ring stops and the offer goes even when no chat window opens.
    const ChatWindowFactory openChat = m_openChat;
    const CIncomingCall call = m_call;
    done(Accepted);
    if (openChat)
        openChat(call);
}

void CCallDlg::reject()
{
    done(Rejected);
}

void CCallDlg::done(int result)
{
    if (m_closed)
        return;
    m_closed = true;
    m_timer->stop();
    if (m_ring)
        m_ring->Silence(this);
    QDialog::done(result);
}
