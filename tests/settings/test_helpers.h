#pragma once

#include <QApplication>
#include <QTest>

// One data row whose columns are all texts, on one line however long the literals.
template <typename... Texts> void TextRow(const char* name, const Texts&... texts)
{
    (QTest::newRow(name) << ... << QString::fromUtf8(texts));
}

// Types a text as key presses, each to the widget that has the focus by then (a field may
// move the focus on as it fills), any letter included.
inline void TypeText(const QString& text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
    }
}
