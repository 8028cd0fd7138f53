#include "visitor_popup_dlg.h"

#include "app_settings.h"
#include "art_icon_engine.h"
#include "flat_button.h"
#include "link_static.h"
#include "result_text.h"
#include "shown_text.h"
#include "visitor_entry.h"
#include "wildcard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <array>
#include <memory>

namespace {

const QColor kPureBlue(0, 0, 255);
const QColor kPureRed(255, 0, 0);

// The popup's layout in dialog units (x, y, width, height) of its 8-point Tahoma font.
constexpr int kWidthDlu = 340;
constexpr int kHeightDlu = 28;
constexpr std::array<int, 4> kTitleDlu = {3, 1, 19, 8};
constexpr std::array<int, 4> kMessageDlu = {3, 11, 282, 16};
constexpr std::array<int, 4> kCloseDlu = {329, 1, 10, 8};
constexpr std::array<int, 4> kInviteDlu = {292, 9, 47, 11};
constexpr int kBorder = 1; // the thin border around the client area

// Bottom-right placement on the whole screen (not the work area), as the popups always sat.
constexpr int kRightGap = 5;
constexpr int kBottomGap = 30;

} // namespace

CVisitorPopupDlg* CVisitorPopupDlg::Announce(const CAppSettings* settings, int* openCount,
                                             int* slotLimit, const CVisitorEntry& visitor,
                                             InviteFunction invite)
{
    if (settings->m_showHints != 1)
        return nullptr;
    if (*slotLimit != 0 && *openCount >= *slotLimit)
        return nullptr;
    return new CVisitorPopupDlg(settings, openCount, slotLimit, visitor.id, visitor.text1,
                                visitor.text2, std::move(invite));
}

CVisitorPopupDlg::CVisitorPopupDlg(const CAppSettings* settings, int* openCount, int* slotLimit,
                                   std::int32_t visitorId, const std::string& pageAddress,
                                   const std::string& caption, InviteFunction invite,
                                   std::chrono::milliseconds lifetime)
    : CLayeredDlg(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_settings(settings), m_openCount(openCount), m_slotLimit(slotLimit), m_visitorId(visitorId),
      m_pageAddress(pageAddress), m_caption(caption), m_invite(std::move(invite)),
      m_title(new CLinkStatic(QString(), this)), m_message(new QLabel(this)),
      m_close(new CFlatButton(QString(), this)),
      m_inviteButton(new CFlatButton(tr("Invite to chat"), this)), m_timer(new QTimer(this))
{
    ++*m_openCount;
    setAttribute(Qt::WA_DeleteOnClose);
    // Arriving visitors must not take the keyboard from a chat the operator is typing in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QString::fromStdString(caption));

    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    m_units = CDialogUnits(font);

    BuildControls();
    SetTransparency(kOpacity);

    std::array<std::string, 5> patterns;
    for (std::size_t i = 0; i < patterns.size(); ++i)
        patterns[i] = m_settings->m_baseUrl[i].toStdString();
    const std::string shown = StripDomainChained(m_pageAddress, patterns);
    m_title->SetText(ShownLine(QString::fromStdString(m_caption)));
    m_message->setText(tr("A visitor has now entered: ") +
                       ShownLine(QString::fromStdString(shown), 500));
    m_title->SetUrl(QString::fromStdString(m_pageAddress));
    m_title->SetFromNetwork(true);

    LayOut();
    Place();

    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &QWidget::close);
    m_timer->start(lifetime);
    QApplication::alert(this, 0);
}

CVisitorPopupDlg::~CVisitorPopupDlg()
{
    --*m_openCount;
}

void CVisitorPopupDlg::CloseAll()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* popup = qobject_cast<CVisitorPopupDlg*>(widget))
            delete popup;
    }
}

void CVisitorPopupDlg::BuildControls()
{
    m_close->setObjectName(QStringLiteral("close"));
    m_inviteButton->setObjectName(QStringLiteral("invite"));
    m_close->SetIcons(CArtIconEngine::Icon(QStringLiteral(":/ui/close.svg")), {}, false);
    m_close->SetAlignment(CFlatButton::kPictureLeft, false);
    m_close->SetColour(CFlatButton::kBackOver, SysColour::ScrollBar, false);
    m_close->SetColour(CFlatButton::kBackNormal, SysColour::ScrollBar, false);
    m_close->SetColour(CFlatButton::kBackFocus, SysColour::ScrollBar, false);
    m_close->SetColour(CFlatButton::kTextNormal, SysColour::WindowText, false);
    m_close->SetColour(CFlatButton::kTextOver, kPureBlue, false);
    connect(m_close, &QAbstractButton::clicked, this, &QWidget::close);

    m_inviteButton->SetAlignment(CFlatButton::kPictureLeft, false);
    m_inviteButton->SetColour(CFlatButton::kTextNormal, kPureRed, false);
    m_inviteButton->SetColour(CFlatButton::kTextOver, kPureBlue, false);
    connect(m_inviteButton, &QAbstractButton::clicked, this, &CVisitorPopupDlg::OnInvite);

    // Page addresses and captions come from the network: never read as rich text.
    m_message->setTextFormat(Qt::PlainText);
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void CVisitorPopupDlg::LayOut()
{
    const auto place = [this](QWidget* widget, const std::array<int, 4>& dlu) {
        widget->setGeometry(kBorder + m_units.X(dlu[0]), kBorder + m_units.Y(dlu[1]),
                            m_units.X(dlu[2]), m_units.Y(dlu[3]));
    };
    setFixedSize(m_units.X(kWidthDlu) + 2 * kBorder, m_units.Y(kHeightDlu) + 2 * kBorder);
    place(m_message, kMessageDlu);
    place(m_close, kCloseDlu);
    place(m_inviteButton, kInviteDlu);
    // The link keeps its place and takes the size of its text, but not past the close button.
    m_title->move(kBorder + m_units.X(kTitleDlu[0]), kBorder + m_units.Y(kTitleDlu[1]));
    m_title->setMinimumHeight(m_units.Y(kTitleDlu[3]));
    m_title->setMaximumWidth(m_units.X(kCloseDlu[0]) - m_units.X(kTitleDlu[0]) - m_units.X(2));
    m_title->resize(m_title->sizeHint().boundedTo(m_title->maximumSize()));
}

void CVisitorPopupDlg::Place()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const int w = width();
    const int h = height();
    *m_slotLimit = desktop.height() / h - 1;
    int y = desktop.height() - (h - 1) * *m_openCount - kBottomGap;
    if (y < 0)
        y = 0;
    move(desktop.x() + desktop.width() - w - kRightGap, desktop.y() + y);
    // A new window shows above the others; the stays-on-top flag keeps it there.
    show();
}

void CVisitorPopupDlg::SetLauncher(const CUrlLauncher* launcher)
{
    m_title->SetLauncher(launcher);
}

void CVisitorPopupDlg::SetLinkFailureHandler(std::function<void(int code)> handler)
{
    m_title->SetFailureHandler(std::move(handler));
}

QString CVisitorPopupDlg::ErrorMessage(int code)
{
    return tr("There was an error while sending the chat invitation.\n") + ResultText(code);
}

void CVisitorPopupDlg::OnInvite()
{
    if (m_inviting || !m_invite)
        return;
    m_inviting = true;
    m_inviteButton->setEnabled(false);
    // The answer may come after the popup's lifetime has ended it: then nobody waits for it
    // here, and the console, which words a failure, still does.
    m_invite(m_visitorId, [popup = QPointer<CVisitorPopupDlg>(this)](int code) {
        if (popup)
            popup->OnInviteSent(code);
    });
}

void CVisitorPopupDlg::OnInviteSent(int code)
{
    emit InviteSent(code);
    close();
}

void CVisitorPopupDlg::reject()
{
    // Escape closes (and so deletes) the popup rather than only hiding it.
    close();
}

void CVisitorPopupDlg::closeEvent(QCloseEvent* event)
{
    // Accepted as any window's close: the dialog's own handler would go round through reject().
    event->accept();
}

void CVisitorPopupDlg::paintEvent(QPaintEvent* event)
{
    CLayeredDlg::paintEvent(event);
    QPainter painter(this);
    painter.setPen(SystemColour(SysColour::DarkShadow3D, palette()));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
