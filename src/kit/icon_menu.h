#pragma once

#include <QIcon>
#include <QList>
#include <QMenu>
#include <memory>

class CIconMenuStyle;

// A popup menu that draws its own items, each with an optional icon from a list. Serves as the
// drop-down menu of CFlatButton
// ("My Status" uses it for "Online", "Busy" and "Away").
//
// It has two looks: a flat, light one built from the palette, and the raised look of the
// classic style, taken when the window it drops down from uses that style.
class IconMenu final : public QMenu
{
    Q_OBJECT

public:
    explicit IconMenu(const QString& title = {}, QWidget* parent = nullptr);
    ~IconMenu() override;

    // The icons the items' indices name, drawn at iconSize.
    void SetIcons(const QList<QIcon>& icons, const QSize& iconSize);
    QSize IconSize() const { return m_iconSize; }
    int IconCount() const { return static_cast<int>(m_icons.size()); }

    // An item that reports command when chosen; icon is an index into the icons, -1 for none.
    QAction* AddCommand(int command, const QString& text, int icon = -1);
    // The command an item reports; 0 for items added without one.
    static int CommandOf(const QAction* action);

    bool IsClassicLook() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Colours;
    QPalette LookPalette() const;
    Colours LookColours() const;
    void DrawItem(QPainter& painter, QAction* action, const QRect& rect,
                  const Colours& colours) const;
    void DrawSeparator(QPainter& painter, const QRect& rect, const Colours& colours) const;

    std::unique_ptr<CIconMenuStyle> m_style;
    QList<QIcon> m_icons;
    QSize m_iconSize{16, 16};
};
