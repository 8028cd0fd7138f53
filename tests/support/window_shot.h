#pragma once

// What the screenshot tools share: waiting for a window to reach a state, and saving a window
// framed by a drawn title bar (offscreen and under Xvfb without a window manager there is none).

#include <QColor>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdio>
#include <functional>

namespace testing_support {

inline bool WaitFor(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

inline bool Save(QWidget* window, const QString& path)
{
    QCoreApplication::processEvents();
    const QPixmap inside = window->grab();
    const int bar = window->fontMetrics().height() + 10;
    QPixmap shot(inside.width() + 2, inside.height() + bar + 1);
    shot.fill(QColor(60, 60, 70));
    QPainter painter(&shot);
    painter.fillRect(1, 1, inside.width(), bar - 1, QColor(44, 98, 196));
    painter.setPen(Qt::white);
    QFont font = window->font();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(10, 1, inside.width() - 20, bar - 1), Qt::AlignVCenter,
                     window->windowTitle());
    painter.drawPixmap(1, bar, inside);
    painter.end();
    const bool ok = shot.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

} // namespace testing_support
