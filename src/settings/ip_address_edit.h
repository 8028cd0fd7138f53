#pragma once

#include <QWidget>
#include <array>

class QLineEdit;

// An entry field for an IPv4 address in dotted form: four parts of 0 to 255 in one frame.
// Only digits go into a part; a value above 255 becomes 255; a third digit, '.' or a blank
// moves on to the next part, and Backspace or the arrow keys at a part's edge move back and
// forth. Tab and Shift+Tab move to the neighbouring controls of the window, not between parts.
// A dotted address pasted with the keyboard fills all four parts.
class CIpAddressEdit final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kPartCount = 4;

    explicit CIpAddressEdit(QWidget* parent = nullptr);

    // The address in dotted form without leading zeros, a blank part counting as 0; empty
    // while every part is blank, so a field left blank never names a real address.
    QString Text() const;
    // Shows a dotted address of four parts of 0 to 255; any other text leaves the field blank.
    void SetText(const QString& text);
    // What screen readers call the field and each of its four parts ("..., part 2 of 4").
    void SetAccessibleName(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int PartIndex(const QObject* object) const;
    bool OnPartKey(int index, const QKeyEvent& key);
    void OnPartEdited(int index);
    void FocusPart(int index, int cursor);

    std::array<QLineEdit*, kPartCount> m_parts{};
};
