#include "web_pane.h"

#include "url_launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLibrary>
#include <QStackedLayout>

namespace {

using CreateExplorer = QWidget* (*)(QWidget*);

// The browser module, from the first folder that has it; its file name goes to path.
CreateExplorer LoadExplorerModule(const QStringList& directories, QString* path = nullptr)
{
    for (const QString& dir : directories) {
        // Never unloaded: the engine keeps threads of its own running. A loaded library stays
        // loaded when its QLibrary object goes (only unload() unloads it), so none is kept.
        QLibrary module(QDir(dir).filePath(QStringLiteral("parlendo_webengine")));
        module.setLoadHints(QLibrary::PreventUnloadHint);
        if (auto create =
                reinterpret_cast<CreateExplorer>(module.resolve("ParlendoCreateExplorer"))) {
            if (path)
                *path = module.fileName();
            return create;
        }
    }
    return nullptr;
}

} // namespace

CWebPane::CWebPane(QWidget* parent)
    : QWidget(parent), m_factory(DefaultViewFactory()), m_launcher(&CUrlLauncher::Desktop()),
      m_stack(new QStackedLayout(this)), m_blank(new QWidget(this))
{
    // "about:blank": the window colour, nothing on it.
    m_blank->setBackgroundRole(QPalette::Base);
    m_blank->setAutoFillBackground(true);
    m_stack->addWidget(m_blank);
}

QStringList CWebPane::ModuleDirectories()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    return {appDir, QDir::cleanPath(QDir(appDir).filePath(
                        QStringLiteral(PARLENDO_MODULE_DIR_FROM_BIN)))};
}

QString CWebPane::LoadableModule(QStringList moduleDirectories)
{
    QString path;
    LoadExplorerModule(moduleDirectories.isEmpty() ? ModuleDirectories() : moduleDirectories,
                       &path);
    return path;
}

CWebPane::ViewFactory CWebPane::DefaultViewFactory(QStringList moduleDirectories)
{
    return [directories = std::move(moduleDirectories)](QWidget* parent) {
        const CreateExplorer create =
            LoadExplorerModule(directories.isEmpty() ? ModuleDirectories() : directories);
        QWidget* explorer = create ? create(parent) : nullptr;
        if (!explorer)
            return View{};
        return View{explorer, [explorer](const QUrl& url) { explorer->setProperty("url", url); }};
    };
}

void CWebPane::SetViewFactory(ViewFactory factory)
{
    if (!m_viewTried)
        m_factory = std::move(factory);
}

void CWebPane::SetLauncher(const CUrlLauncher* launcher)
{
    m_launcher = launcher ? launcher : &CUrlLauncher::Desktop();
}

void CWebPane::CreateView()
{
    m_viewTried = true;
    if (m_factory)
        m_view = m_factory(this);
    if (m_view.widget) {
        m_stack->addWidget(m_view.widget);
        // Mail links of the service's pages open by the launcher's rules; the view refuses every
        // other scheme itself. Connected by name: the view's class is in the browser's module.
        if (m_view.widget->metaObject()->indexOfSignal("LinkOutside(QUrl)") >= 0)
            connect(m_view.widget, SIGNAL(LinkOutside(QUrl)), this, SLOT(OpenOutside(QUrl)));
        return;
    }
    m_view = {};
    m_external = new QLabel(this);
    m_external->setAlignment(Qt::AlignCenter);
    m_external->setWordWrap(true);
    m_external->setTextFormat(Qt::PlainText);
    m_external->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_external->setBackgroundRole(QPalette::Base);
    m_external->setAutoFillBackground(true);
    m_stack->addWidget(m_external);
}

bool CWebPane::Navigate(const QUrl& url)
{
    if (!m_viewTried)
        CreateView();
    m_lastUrl = url;
    if (m_view.widget) {
        m_view.load(url);
        m_stack->setCurrentWidget(m_view.widget);
        return true;
    }
    const int result = m_launcher->OpenUrl(url.toString(QUrl::FullyEncoded));
    // The address carries the operator's name and password: it is named without them.
    const QUrl shown = url.adjusted(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment);
    m_external->setText(result > 32 ? tr("The page has been opened in your web browser:\n%1")
                                          .arg(shown.toDisplayString())
                                    : CUrlLauncher::FailureMessage(result));
    m_stack->setCurrentWidget(m_external);
    return false;
}

void CWebPane::OpenOutside(const QUrl& url)
{
    if (url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0)
        m_launcher->OpenUrl(url.toString(QUrl::FullyEncoded));
}
