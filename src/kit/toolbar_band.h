#pragma once

#include <QWidget>

class CFlatButton;
class CGradientLabel;
class QHBoxLayout;

// A row of toolbar buttons on a band in the scroll-bar colour, as the console and the chat
// windows have them along their tops. Each button keeps the width its picture and caption need:
// a window narrower than the row cuts it off at the right instead of squeezing the captions.
class CToolbarBand final : public QWidget
{
    Q_OBJECT

public:
    explicit CToolbarBand(QWidget* parent = nullptr);

    // A flat button with the picture (a resource path) beside its caption, appended to the row;
    // its object name is name.
    CFlatButton* AddButton(const QString& caption, const QString& picture, const QString& name);
    // Ends the row: the rest of the band stays empty.
    void Finish();

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CGradientLabel* m_band;
    QWidget* m_strip; // the buttons, never narrower than they need
    QHBoxLayout* m_row;
};
