#pragma once

#include <QFont>
#include <QSize>

// The console's windows were designed in dialog units, which scale with the dialog font: a
// horizontal unit is a quarter of the font's average character width, a vertical unit an
// eighth of its height. Converting through the widget's own font keeps the proportions of the
// design at any font size.
class CDialogUnits final
{
public:
    explicit CDialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QSize Size(int width, int height) const { return {X(width), Y(height)}; }

private:
    double m_baseX = 6.0;
    double m_baseY = 13.0;
};
