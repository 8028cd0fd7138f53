#include "window_layout.h"

#include "layout_profile.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

QList<QRect> ScreenAreas()
{
    QList<QRect> areas;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        areas.append(primary->availableGeometry());
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            areas.append(screen->availableGeometry());
    return areas;
}

QRect Cascaded(const QRect& rect, int cascade, int step)
{
    if (cascade <= 0)
        return rect;
    const QList<QRect> areas = ScreenAreas();
    if (areas.isEmpty())
        return rect.translated(step * cascade, step * cascade);
    QRect area = areas.constFirst();
    for (const QRect& a : areas)
        if (a.intersects(rect))
            area = a;
    QRect moved = rect.translated(step * cascade, step * cascade);
    if (!area.contains(moved)) {
        // Down the screen as far as the window fits, then over again from where it started.
        const int roomX = std::max(1, (area.right() - rect.right()) / step + 1);
        const int roomY = std::max(1, (area.bottom() - rect.bottom()) / step + 1);
        const int steps = cascade % std::max(1, std::min(roomX, roomY));
        moved = rect.translated(step * steps, step * steps);
    }
    return moved;
}

} // namespace

void CWindowLayout::RestoreWindow(QWidget* window, const QString& section, int cascade) const
{
    constexpr int kCascadeStep = 32;
    const auto placement = m_profile.LoadWindowPlacement(section);
    if (!placement) {
        if (cascade > 0)
            window->move(Cascaded(window->geometry(), cascade, kCascadeStep).topLeft());
        return;
    }
    window->setGeometry(Cascaded(PlaceOnScreens(placement->NormalRect(), ScreenAreas()), cascade,
                                 kCascadeStep));
    // Set after the geometry, which becomes the rectangle a maximised window restores to.
    window->setWindowState(placement->WindowStates());
}

void CWindowLayout::SaveWindow(const QWidget* window, const QString& section) const
{
    // The restored rectangle, also while maximised; empty only for a window never shown.
    QRect normal = window->normalGeometry();
    if (normal.isEmpty())
        normal = window->geometry();
    m_profile.SaveWindowPlacement(section, WindowPlacement::From(window->windowState(), normal));
}

void CWindowLayout::RestoreColumns(QHeaderView* header, const QString& section) const
{
    const QList<int> widths = m_profile.LoadColumnWidths(section, header->count());
    for (int column = 0; column < widths.size(); ++column)
        header->resizeSection(column, widths[column]);
}

void CWindowLayout::SaveColumns(const QHeaderView* header, const QString& section) const
{
    QList<int> widths;
    for (int column = 0; column < header->count(); ++column)
        widths.append(header->sectionSize(column));
    m_profile.SaveColumnWidths(section, widths);
}
