#pragma once

#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <functional>

class CUrlLauncher;
class QLabel;
class QStackedLayout;

// The pane that shows the service's web pages inside the main window.
//
// The browser behind it is heavy (a whole rendering engine), so it is created only the first
// time a page is asked for; until then the pane is an empty page. When the build has no
// embedded browser, a page is opened in the desktop's browser instead and the pane says so.
class CWebPane final : public QWidget
{
    Q_OBJECT

public:
    // A browser view and how to load an address in it.
    struct View
    {
        QWidget* widget = nullptr;
        std::function<void(const QUrl&)> load;
    };
    // Creates the view as a child of parent; a view without a widget means "no embedded
    // browser".
    using ViewFactory = std::function<View(QWidget* parent)>;

    explicit CWebPane(QWidget* parent = nullptr);

    // The embedded browser (CExplorer1) from its module, found in the first of the folders
    // (by default ModuleDirectories()) that has it; none when no folder has it (a build without
    // Qt WebEngine) or it does not load.
    static ViewFactory DefaultViewFactory(QStringList moduleDirectories = {});
    // Beside the program (the build tree), then the installed module folder relative to it
    // (../lib/parlendo, or ../lib/<multiarch>/parlendo for a /usr install).
    static QStringList ModuleDirectories();
    // The module file that DefaultViewFactory would use, loaded (not started) to make sure it
    // and the libraries it needs are there; empty when none loads.
    static QString LoadableModule(QStringList moduleDirectories = {});
    // Replaces how the view is made; only before the first page.
    void SetViewFactory(ViewFactory factory);
    // Not owned; must outlive the pane.
    void SetLauncher(const CUrlLauncher* launcher);

    // Shows the page here, or hands it to the desktop's browser. True when shown here.
    bool Navigate(const QUrl& url);
    QUrl LastUrl() const { return m_lastUrl; }
    bool HasView() const { return m_view.widget != nullptr; }

private slots:
    // A mail link a page asked for.
    void OpenOutside(const QUrl& url);

private:
    void CreateView();

    ViewFactory m_factory;
    const CUrlLauncher* m_launcher;
    QStackedLayout* m_stack;
    QWidget* m_blank;
    QLabel* m_external = nullptr;
    View m_view;
    bool m_viewTried = false;
    QUrl m_lastUrl;
};
