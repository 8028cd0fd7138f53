#pragma once

#include <QUrl>
#include <QWebEngineView>

// The embedded browser of the main window's web pane, showing the service's pages. Links that
// ask for a new window open in the same view: the pane is the only place pages are shown.
//
// The pages come from a server, which may be spoofed: the view goes only to web addresses
// (http, https). A mail link is handed to the console (LinkOutside), which opens it by its own
// rules; every other scheme is refused and never reaches the desktop's handlers.
//
// It lives in a program of its own (parlendo-pages, CPageServer) that the console starts the
// first time a page is asked for: the browser engine is by far the largest part of the program,
// and it needs an OpenGL context shared process-wide from the start; in the console it would
// slow every start-up and weigh on memory all day for a pane that is seldom used.
class CExplorer1 final : public QWebEngineView
{
    Q_OBJECT

public:
    explicit CExplorer1(QWidget* parent = nullptr);

signals:
    // A page asked for a mail address; the console decides whether to open it.
    void LinkOutside(const QUrl& url);

protected:
    QWebEngineView* createWindow(QWebEnginePage::WebWindowType type) override;
};
