#pragma once

#include "readable_colours.h"
#include "theme_colour.h"

#include <QWidget>
#include <functional>
#include <optional>

class CUrlLauncher;

// A line of text that behaves as a web link: underlined, in the link colour until it has been
// followed and in the visited colour after, in the highlight colour while the mouse is over it,
// with a pointing hand and the address as its tooltip. A click opens the address; a failure
// leaves the link unvisited and tells the operator why.
//
// The address defaults to the text and the text to the address, so a link can be given either.
// While adjust-to-fit is on the control takes the size of its text whenever the text, the
// address or the font changes, keeping the edge its alignment names: a right-aligned link keeps
// its right edge, a centred one its centre, any other its left edge (likewise top, or the
// centre when vertically centred).
//
// It takes the keyboard focus by Tab, shows it with a frame, and is followed with Enter or Space
// as with a click. Its colours are made readable on the background where they would not be.
class CLinkStatic final : public QWidget, public IReadableColours
{
    Q_OBJECT

public:
    explicit CLinkStatic(const QString& text = {}, QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const;
    void SetUrl(const QString& address);
    QString Url() const;

    void SetAlignment(Qt::Alignment alignment);
    Qt::Alignment Alignment() const { return m_alignment; }
    void SetUnderline(bool underline);
    void SetAdjustToFit(bool adjust);

    void SetLinkColour(const CThemeColour& colour);
    void SetVisitedColour(const CThemeColour& colour);
    void SetHoverColour(const CThemeColour& colour);
    // The colour the text is drawn in at this moment.
    QColor TextColour() const;
    QList<CColourPair> ColourPairs() const override;

    bool IsVisited() const { return m_visited; }
    void SetVisited(bool visited);
    bool IsOver() const { return m_over; }

    // The launcher is not owned and must outlive the link.
    void SetLauncher(const CUrlLauncher* launcher);
    // The address came from the network: it opens only as a web page.
    void SetFromNetwork(bool fromNetwork) { m_fromNetwork = fromNetwork; }
    // Says why a click opened nothing; until set, a warning over the link's window.
    void SetFailureHandler(std::function<void(int code)> handler);
    // Opens an address the way a click does, without touching the link's state.
    int OpenUrl(const QString& address) const;
    // What a click does: opens the address, and the link shows it as visited.
    void Follow();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // After a click, with the launcher's result (above 32: opened).
    void Followed(int result);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetOver(bool over);
    QColor Background() const;
    // The colour of a state (link, visited, under the mouse) as it is painted.
    QColor Readable(const QColor& wanted) const;
    void Refit();
    QFont LinkFont() const;

    QString m_text;
    QString m_url;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignTop;
    bool m_underline = true;
    bool m_adjustToFit = true;
    bool m_over = false;
    bool m_visited = false;
    bool m_pressed = false;
    std::optional<CThemeColour> m_linkColour;
    std::optional<CThemeColour> m_visitedColour;
    CThemeColour m_hoverColour{SysColour::Highlight};
    const CUrlLauncher* m_launcher;
    bool m_fromNetwork = false;
    std::function<void(int code)> m_failureHandler;
};
