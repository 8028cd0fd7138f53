#include "gallery_window.h"

#include "gallery_panel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QStyleFactory>

namespace {

QPalette DarkPalette()
{
    QPalette p;
    const QColor window(53, 53, 53);
    const QColor base(36, 36, 36);
    const QColor text(230, 230, 230);
    const QColor disabled(120, 120, 120);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(45, 45, 45));
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Light, QColor(90, 90, 90));
    p.setColor(QPalette::Midlight, QColor(72, 72, 72));
    p.setColor(QPalette::Mid, QColor(44, 44, 44));
    p.setColor(QPalette::Dark, QColor(30, 30, 30));
    p.setColor(QPalette::Shadow, QColor(12, 12, 12));
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(100, 160, 240));
    p.setColor(QPalette::Disabled, QPalette::Text, disabled);
    p.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, disabled);
    return p;
}

} // namespace

CGalleryWindow::CGalleryWindow(QWidget* parent)
    : QWidget(parent), m_classicStyle(QStyleFactory::create(QStringLiteral("Windows")))
{
    setWindowTitle(QStringLiteral("Parlendo widget gallery"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    QPalette light = QApplication::style()->standardPalette();
    layout->addWidget(
        new CGalleryPanel(QStringLiteral("Light (%1 style)").arg(QApplication::style()->name()),
                          light, nullptr, this));
    layout->addWidget(
        new CGalleryPanel(QStringLiteral("Dark palette"), DarkPalette(), nullptr, this));
    layout->addWidget(new CGalleryPanel(QStringLiteral("Classic (Windows style)"),
                                        m_classicStyle->standardPalette(), m_classicStyle.get(),
                                        this));
}

CGalleryWindow::~CGalleryWindow()
{
    // The panels use the classic style; they must go before it does.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}
