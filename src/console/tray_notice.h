#pragma once

#include <QWidget>
#include <chrono>

class QLabel;
class QTimer;

// What a balloon says, shown without a notification area: a small frameless strip at the top
// right of the screen's work area that stays on top, takes no focus, and goes after its time
// or at a click. A new notice replaces the text of the one shown and starts its time again.
class CTrayNotice final : public QWidget
{
    Q_OBJECT

public:
    explicit CTrayNotice(QWidget* parent = nullptr);

    void Show(const QString& title, const QString& text, std::chrono::milliseconds time);
    QString Title() const;
    QString Text() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Place();

    QLabel* m_title;
    QLabel* m_text;
    QTimer* m_timer;
};
