#include "web_pane.h"

#include "url_launcher.h"

#include <QLabel>
#include <QStackedLayout>
#include <QWindow>

CWebPane::CWebPane(QWidget* parent)
    : QWidget(parent), m_launcher(&CUrlLauncher::Desktop()), m_stack(new QStackedLayout(this)),
      m_blank(new QWidget(this)), m_message(new QLabel(this))
{
    // "about:blank": the window colour, nothing on it.
    m_blank->setBackgroundRole(QPalette::Base);
    m_blank->setAutoFillBackground(true);
    m_stack->addWidget(m_blank);
    m_message->setObjectName(QStringLiteral("webPaneMessage"));
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::PlainText);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_message->setBackgroundRole(QPalette::Base);
    m_message->setAutoFillBackground(true);
    m_stack->addWidget(m_message);
}

// The helper goes first: it draws into m_host, which the container owns.
CWebPane::~CWebPane()
{
    m_helper.reset();
}

void CWebPane::SetHelperProgram(const QString& program)
{
    if (m_helper || m_outside)
        return;
    m_program = program;
    m_programSet = true;
}

void CWebPane::SetLauncher(const CUrlLauncher* launcher)
{
    m_launcher = launcher ? launcher : &CUrlLauncher::Desktop();
}

void CWebPane::StartHelper()
{
    if (!m_programSet) {
        m_program = CPageHelper::FindProgram();
        m_programSet = true;
    }
    if (m_program.isEmpty()) {
        m_outside = true;
        return;
    }
    if (!m_container) {
        m_host = new QWindow;
        m_host->setObjectName(QStringLiteral("webPaneHost"));
        // Made hidden: it is shown when the helper's view is in it, so the pane never shows an
        // unpainted window meanwhile.
        m_container = QWidget::createWindowContainer(m_host, this);
        m_container->setObjectName(QStringLiteral("webPageView"));
        m_stack->addWidget(m_container);
    }
    m_helper = std::make_unique<CPageHelper>(m_program);
    connect(m_helper.get(), &CPageHelper::Ready, this,
            [this] { m_stack->setCurrentWidget(m_container); });
    connect(m_helper.get(), &CPageHelper::MailLink, this, &CWebPane::OpenOutside);
    connect(m_helper.get(), &CPageHelper::Ended, this, &CWebPane::OnEnded, Qt::QueuedConnection);
    m_helper->Start(m_host->winId(), size());
}

bool CWebPane::Navigate(const QUrl& url)
{
    m_lastUrl = url;
    // Checked here as well as in the helper: an address that is no web page neither starts
    // the helper nor reaches the desktop's browser.
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("mailto")) {
        OpenOutside(url);
        return false;
    }
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        ShowMessage(CUrlLauncher::FailureMessage(CUrlLauncher::kAccessDenied));
        return false;
    }
    if (!m_outside && !(m_helper && m_helper->IsRunning())) {
        m_stack->setCurrentWidget(m_blank);
        StartHelper();
    }
    if (m_outside) {
        OpenInDesktopBrowser(url);
        return false;
    }
    m_helper->Load(url);
    return true;
}

void CWebPane::OnEnded(CPageHelper::End why)
{
    // Not from inside the helper's own signal: it goes now.
    m_helper.reset();
    if (why == CPageHelper::End::Stopped) {
        ShowMessage(tr("The page cannot be shown: the browser that shows it has stopped.\n"
                       "Choose the page again to open it anew."));
        return;
    }
    // This display cannot show the helper in the pane: the desktop's browser takes the page.
    m_outside = true;
    OpenInDesktopBrowser(m_lastUrl);
}

void CWebPane::OpenInDesktopBrowser(const QUrl& url)
{
    const int result = m_launcher->OpenUrl(url.toString(QUrl::FullyEncoded));
    // The address carries the operator's name and password: it is named without them.
    const QUrl shown = url.adjusted(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment);
    ShowMessage(result > 32 ? tr("The page has been opened in your web browser:\n%1")
                                  .arg(shown.toDisplayString())
                            : CUrlLauncher::FailureMessage(result));
}

void CWebPane::ShowMessage(const QString& text)
{
    m_message->setText(text);
    m_stack->setCurrentWidget(m_message);
}

void CWebPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_helper)
        m_helper->Resize(size());
}

void CWebPane::OpenOutside(const QUrl& url)
{
    // Whatever the helper says: only a mail address leaves the pane, by the launcher's rules.
    if (url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0)
        m_launcher->OpenUrl(url.toString(QUrl::FullyEncoded));
}
