#include "window_layout.h"

#include "layout_profile.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QWidget>

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

} // namespace

void CWindowLayout::RestoreWindow(QWidget* window, const QString& section) const
{
    const auto placement = m_profile.LoadWindowPlacement(section);
    if (!placement)
        return;
    window->setGeometry(PlaceOnScreens(placement->NormalRect(), ScreenAreas()));
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
