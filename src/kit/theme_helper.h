#pragma once

#include <QPointer>
#include <QRect>

class QPainter;
class QPalette;
class QWidget;

// Draws button backgrounds with the frames of the style of the widget it is attached to, when
// that style is a themed one. Widgets keep one helper each and fall back to their classic
// frames when IsThemed() is false (the classic style, or not attached).
class CThemeHelper final
{
public:
    enum class Part
    {
        PushButton = 1,
    };
    enum class State
    {
        Normal = 1,
        Hot,
        Pressed,
        Disabled,
        Default,
    };

    // Follows the widget's own style, so a style set on one window only is honoured; the
    // helper lets go by itself when the widget is destroyed.
    void Attach(QWidget* widget);
    bool IsThemed() const;

    // Does nothing when unthemed. Only what lies inside clip is painted.
    void DrawThemedBackground(QPainter& painter, Part part, State state, const QRect& rect,
                              const QRect& clip) const;
    // The face inside the themed frame, where a widget paints its own content; the rectangle
    // itself when unthemed.
    QRect ContentRect(Part part, State state, const QRect& rect) const;

private:
    QPointer<QWidget> m_widget;
};
