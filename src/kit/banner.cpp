#include "banner.h"

#include "colour_math.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

CBanner::CBanner(const QString& name, QWidget* parent)
    : QFrame(parent), m_text(new QLabel(this)), m_button(new QPushButton(this))
{
    setObjectName(name);
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    setAutoFillBackground(true);
    m_text->setObjectName(name + QStringLiteral("Text"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_button->setObjectName(name + QStringLiteral("Action"));
    m_button->hide();
    connect(m_button, &QPushButton::clicked, this, [this] {
        if (m_action)
            m_action();
    });
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 4, 4);
    row->addWidget(m_text, 1);
    row->addWidget(m_button);
    hide();
}

void CBanner::Say(const QString& text, Tone tone)
{
    m_text->setText(text);
    m_tone = tone;
    ApplyTone();
    setVisible(!text.isEmpty());
    // Read out to screen readers as it appears.
    setAccessibleName(text);
}

void CBanner::SetAction(const QString& caption, std::function<void()> action)
{
    m_action = std::move(action);
    m_button->setText(caption);
    m_button->setVisible(!caption.isEmpty());
}

void CBanner::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !signalsBlocked()) {
        const QSignalBlocker noLoop(this);
        ApplyTone();
    }
}

void CBanner::ApplyTone()
{
    // A tint of the window's own colours, so that the strip reads in light and dark themes.
    QPalette shown = parentWidget() ? parentWidget()->palette() : palette();
    const QColor base = shown.color(QPalette::Window);
    const QColor tint = m_tone == Tone::Warning ? QColor(230, 160, 0) : QColor(40, 120, 220);
    shown.setColor(QPalette::Window, Blend(base, tint, 0.25));
    setPalette(shown);
}
