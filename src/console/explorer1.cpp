#include "explorer1.h"

#include <QWebEnginePage>
#include <QWebEngineSettings>

namespace {

// Lets the view go to web addresses only.
class CServicePage final : public QWebEnginePage
{
public:
    CServicePage(CExplorer1* view) : QWebEnginePage(view), m_view(view)
    {
        // Nothing the page asks for may start a desktop handler of its own accord.
        settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        const QString scheme = url.scheme().toLower();
        if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
            url == QUrl(QStringLiteral("about:blank")))
            return true;
        if (scheme == QLatin1String("mailto"))
            emit m_view->LinkOutside(url);
        return false;
    }

private:
    CExplorer1* m_view;
};

} // namespace

CExplorer1::CExplorer1(QWidget* parent) : QWebEngineView(parent)
{
    setPage(new CServicePage(this));
}

QWebEngineView* CExplorer1::createWindow(QWebEnginePage::WebWindowType)
{
    return this;
}
