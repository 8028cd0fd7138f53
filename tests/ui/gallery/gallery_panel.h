#pragma once

#include <QWidget>

class QGridLayout;
class QStyle;
class QVBoxLayout;

// One column of the gallery: the kit drawn with one palette and one style.
class CGalleryPanel final : public QWidget
{
    Q_OBJECT

public:
    // style: set on every widget of the panel, or null to keep the application's.
    CGalleryPanel(const QString& title, const QPalette& palette, QStyle* style,
                  QWidget* parent = nullptr);

private:
    void AddToolbar();
    void AddFlatButtons();
    void AddMenus();
    void AddGradientButtons();
    void AddGradientLabels();
    void AddLinks();
    void AddLayeredDialog();
    void AddLiveRow();

    void Section(const QString& title);
    // Shows a picture of the widget as it paints now, with a caption under it.
    void Shot(QWidget* widget, const QString& caption);
    void EndRow();
    // Gives the panel's style to the widget and its children before it is painted.
    void Adopt(QWidget* widget) const;

    QStyle* m_style;
    QWidget* m_stage; // hidden parent of the widgets being photographed
    QVBoxLayout* m_column;
    QWidget* m_row = nullptr;
};
