#pragma once

#include <QStyle>
#include <QWidget>
#include <memory>

// Every widget of the kit in every state, side by side in a light, a dark and a classic look,
// so that one screenshot shows them all. Each picture is the widget's own painting, taken with
// its state set; a row of live widgets below lets a person try the mouse states by hand.
class CGalleryWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit CGalleryWindow(QWidget* parent = nullptr);
    ~CGalleryWindow() override;

private:
    std::unique_ptr<QStyle> m_classicStyle;
};
