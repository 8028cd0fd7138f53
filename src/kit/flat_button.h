#pragma once

#include "theme_colour.h"
#include "theme_helper.h"

#include <QAbstractButton>
#include <QIcon>
#include <QPixmap>
#include <array>
#include <memory>
#include <optional>

class CUrlLauncher;
class IconMenu;

// The console's toolbar button: a picture beside its caption on a background of its own
// colours, highlighted under the mouse while flat. It can drop down an IconMenu, act as a
// check box, or open an address when clicked.
//
// Colours by index: 0 background and 1 text while the mouse is over it or it is pressed (held
// down, checked in check-box mode, or showing its menu); otherwise 4 and 5 while it has the
// focus; otherwise 2 and 3. Unset colours follow the palette's button colours.
//
// Every setter takes a repaint flag: set, the button is redrawn at once; clear, the change
// shows with the next paint, so several changes can be made before one repaint. Setters return
// 0, or the result named below when they refuse a value and change nothing.
class CFlatButton final : public QAbstractButton
{
    Q_OBJECT

public:
    enum ColourIndex : int
    {
        kBackOver = 0,
        kTextOver = 1,
        kBackNormal = 2,
        kTextNormal = 3,
        kBackFocus = 4,
        kTextFocus = 5,
        kColourCount = 6,
    };
    // Where the picture stands against the caption.
    enum PictureAlign : int
    {
        kPictureLeft = 0,
        kPictureRight = 1,
        kPictureAbove = 2,
        kPictureBelow = 3,
    };
    static constexpr int kOk = 0;
    static constexpr int kBadColourIndex = 3;
    static constexpr int kBadAlignment = 4;

    explicit CFlatButton(const QString& text = {}, QWidget* parent = nullptr);
    ~CFlatButton() override;

    int SetColour(int index, const CThemeColour& colour, bool repaint = true);
    // The colour in use for an index; invalid for an index out of range.
    QColor Colour(int index) const;
    int SetAlignment(int alignment, bool repaint = true);
    int Alignment() const { return m_alignment; }

    // The picture beside the caption, and optionally a second one shown while the mouse is over
    // the button; drawn at the icon size for the screen's scale.
    int SetIcons(const QIcon& icon, const QIcon& hoverIcon = {}, bool repaint = true);

    int SetFlat(bool flat, bool repaint = true);
    bool IsFlat() const { return m_flat; }
    // Highlight under the mouse even while the button's window is not the active one.
    int SetTrackAlways(bool track, bool repaint = true);
    // A click toggles a pressed state instead of acting.
    int SetCheckBoxMode(bool on, bool repaint = true);
    // Shown below the button on a click; the chosen item's command comes out of MenuCommand.
    // The button owns the menu; a null menu removes it.
    int SetMenu(std::unique_ptr<IconMenu> menu, bool repaint = true);
    IconMenu* Menu() const { return m_menu; }
    int SetTooltip(const QString& text, bool repaint = true);
    // Opened on a click (when neither check box nor menu).
    int SetUrl(const QString& address, bool repaint = true);
    QString Url() const { return m_url; }
    // Not owned; must outlive the button.
    void SetLauncher(const CUrlLauncher* launcher);

    bool IsOver() const { return m_over; }
    bool IsMenuShowing() const { return m_menuShowing; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The command of the menu item chosen, delivered after the menu has closed.
    void MenuCommand(int command);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Look;
    Look CurrentLook() const;
    void OnClicked();
    void SetOver(bool over);
    void Refresh(bool repaintNow);
    QPixmap PictureFor(bool over, bool enabled) const;
    QSize PictureSize() const;
    QSize ContentSize() const;

    std::array<std::optional<CThemeColour>, kColourCount> m_colours;
    int m_alignment = kPictureLeft;
    QIcon m_icon;
    QIcon m_hoverIcon;
    bool m_flat = true;
    bool m_trackAlways = true;
    bool m_over = false;
    bool m_focused = false;
    bool m_menuShowing = false;
    IconMenu* m_menu = nullptr; // a child of the button
    QString m_url;
    const CUrlLauncher* m_launcher;
    CThemeHelper m_theme;
};
