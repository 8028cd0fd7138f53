#pragma once

#include "contrast.h"
#include "readable_colours.h"
#include "theme_colour.h"
#include "theme_helper.h"

#include <QAbstractButton>
#include <QTimer>

// A push button whose face is a vertical gradient: colour 1 at the top to colour 2 at the
// bottom, colour 3 instead of colour 2 while the mouse is over it (when hover is on), the same
// two reversed while held down, and colour 1 to the button face when disabled. The caption
// sits on one line 10 pixels from the left, its mnemonic underlined, in the text colour made
// readable on every face it can have; a frame in the highlight colour shows the focus. The
// console's navigation column is made of these.
class CGradientButton final : public QAbstractButton, public IReadableColours
{
    Q_OBJECT

public:
    static constexpr int kTextIndent = 10;
    static constexpr int kHoverCheckMs = 10;

    explicit CGradientButton(const QString& text = {}, QWidget* parent = nullptr);

    void SetColours(const CThemeColour& top, const CThemeColour& bottom, const CThemeColour& hover);
    void SetTextColour(const CThemeColour& colour);
    void SetHover(bool hover);
    bool IsOver() const { return m_over; }
    // Draws the frame with the style's own button when the style is a themed one.
    void SetUseTheme(bool useTheme);

    QList<CColourPair> ColourPairs() const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The colours the face runs between now; with transparency, as they show over the frame.
    QColor Opaque(const CThemeColour& colour) const;
    // The caption's colour and every colour the face can show (the two ends, and the one under
    // the mouse), made readable together.
    CTextOnFaces Painted() const;
    void OnMouseAt(bool inside);
    void OnHoverCheck();

    CThemeHelper m_theme;
    CThemeColour m_top{QColor(255, 255, 255)};
    CThemeColour m_bottom{QColor(0, 0, 255)};
    CThemeColour m_hoverColour{QColor(192, 128, 0)};
    CThemeColour m_textColour{QColor(0, 0, 0)};
    bool m_hover = false;
    bool m_useTheme = false;
    bool m_over = false;
    // Leave notifications can go missing (a popup or a dialog taking the pointer), so while the
    // pointer is believed inside its position is checked again on this timer.
    QTimer m_hoverCheck;
};
