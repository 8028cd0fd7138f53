#include "art_icon_engine.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QSvgRenderer>

namespace {

QColor InkFor(QIcon::Mode mode)
{
    const QPalette palette = QGuiApplication::palette();
    switch (mode) {
    case QIcon::Disabled:
        return palette.color(QPalette::Disabled, QPalette::WindowText);
    case QIcon::Selected:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    default:
        return palette.color(QPalette::Active, QPalette::WindowText);
    }
}

// Accents of a disabled picture in grey, and the whole of it faded, as a disabled control's
// text is.
void Grey(QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 3 / 5);
        }
    }
}

} // namespace

CArtIconEngine::CArtIconEngine(QByteArray svg) : m_svg(std::move(svg)) {}

QIcon CArtIconEngine::Icon(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QIcon(new CArtIconEngine(file.readAll()));
}

QList<QIcon> CArtIconEngine::OperatorStates()
{
    QList<QIcon> icons;
    for (const char* state : {"unknown", "online", "busy", "away", "offline"})
        icons.append(Icon(QStringLiteral(":/ui/status-%1.svg").arg(QLatin1String(state))));
    return icons;
}

QPixmap CArtIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State)
{
    if (size.isEmpty())
        return {};
    const QColor ink = InkFor(mode);
    const QString key = QStringLiteral("%1x%2:%3:%4")
                            .arg(size.width())
                            .arg(size.height())
                            .arg(static_cast<int>(mode))
                            .arg(ink.rgba());
    if (const auto found = m_drawn.constFind(key); found != m_drawn.constEnd())
        return *found;

    QByteArray svg = m_svg;
    svg.replace("currentColor", ink.name().toLatin1());
    QSvgRenderer renderer(svg);
    // Premultiplied while drawing; the greying below works on plain ARGB.
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    if (mode == QIcon::Disabled) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        Grey(image);
    }
    const QPixmap drawn = QPixmap::fromImage(image);
    m_drawn.insert(key, drawn);
    return drawn;
}

void CArtIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                           QIcon::State state)
{
    const qreal scale = painter->device()->devicePixelRatio();
    QPixmap drawn = pixmap((QSizeF(rect.size()) * scale).toSize(), mode, state);
    drawn.setDevicePixelRatio(scale);
    painter->drawPixmap(rect, drawn);
}

QIconEngine* CArtIconEngine::clone() const
{
    return new CArtIconEngine(m_svg);
}

QString CArtIconEngine::key() const
{
    return QStringLiteral("CArtIconEngine");
}
