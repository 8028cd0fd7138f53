#pragma once

#include "contrast.h"
#include "readable_colours.h"
#include "theme_colour.h"

#include <QWidget>

// A caption bar: a thin frame around a vertical gradient from the top colour to the bottom
// colour, with one line of text either centred or 10 pixels in from the left. The console uses
// it for its pane captions and, without text, as the band behind its toolbars. Where the text
// colour asked for would not read on both ends of the gradient, it is made lighter or darker, or,
// where no one colour can read on both, the ends are moved away from it (ReadableTextOnFaces).
class CGradientLabel final : public QWidget, public IReadableColours
{
    Q_OBJECT

public:
    static constexpr int kLeftMargin = 10;

    explicit CGradientLabel(const QString& text = {}, QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const { return m_text; }
    void SetColours(const CThemeColour& top, const CThemeColour& bottom, const CThemeColour& text);
    void SetTopColour(const CThemeColour& colour);
    void SetBottomColour(const CThemeColour& colour);
    void SetTextColour(const CThemeColour& colour);
    void SetCentred(bool centred);

    QList<CColourPair> ColourPairs() const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CTextOnFaces Painted() const;

    QString m_text;
    CThemeColour m_top{SysColour::ActiveCaption};
    CThemeColour m_bottom{SysColour::ButtonFace};
    CThemeColour m_textColour{SysColour::CaptionText};
    bool m_centred = false;
};
