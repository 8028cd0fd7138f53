#pragma once

#include "page_helper.h"

#include <QUrl>
#include <QWidget>
#include <memory>

class CUrlLauncher;
class QLabel;
class QStackedLayout;

// The pane that shows the service's web pages inside the main window.
//
// The browser behind it is heavy (a whole rendering engine that needs OpenGL), so it runs in a
// helper process (CPageHelper) started the first time a page is asked for; until then the pane
// is an empty page and the console carries none of it. The helper draws into a window of this
// pane, so the main window keeps its own native window, place and size when the first page
// opens. Where there is no helper, or the display cannot show one program inside another, pages
// open in the desktop's browser instead and the pane says so; a helper that stops is reported
// in the pane, and the next page starts a new one.
class CWebPane final : public QWidget
{
    Q_OBJECT

public:
    explicit CWebPane(QWidget* parent = nullptr);
    ~CWebPane() override;

    // The helper program to run; empty: none, pages go to the desktop's browser. Until set,
    // CPageHelper::FindProgram(). Only before the first page.
    void SetHelperProgram(const QString& program);
    // Not owned; must outlive the pane.
    void SetLauncher(const CUrlLauncher* launcher);

    // Shows the page here, or hands it to the desktop's browser. True when shown here. Only web
    // addresses (http, https) are shown; a mail address goes to the launcher, anything else is
    // refused with a message in the pane.
    bool Navigate(const QUrl& url);
    QUrl LastUrl() const { return m_lastUrl; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private slots:
    // A mail link a page asked for.
    void OpenOutside(const QUrl& url);

private:
    void StartHelper();
    void OnEnded(CPageHelper::End why);
    void OpenInDesktopBrowser(const QUrl& url);
    void ShowMessage(const QString& text);

    QString m_program;
    bool m_programSet = false;
    const CUrlLauncher* m_launcher;
    QStackedLayout* m_stack;
    QWidget* m_blank;
    QLabel* m_message;
    QWindow* m_host = nullptr;       // the helper's view goes in here
    QWidget* m_container = nullptr;  // m_host in the pane
    std::unique_ptr<CPageHelper> m_helper;
    bool m_outside = false; // pages go to the desktop's browser from now on
    QUrl m_lastUrl;
};
