#pragma once

// GoogleTest in a Qt Core application (qt_gtest_main.cpp): waiting on this thread's events,
// and Qt's texts in failure messages.

#include <QStringList>
#include <QTest>
#include <functional>
#include <ostream>

// Runs this thread's events until pred holds, for at most five seconds.
inline bool Eventually(const std::function<bool()>& pred)
{
    return QTest::qWaitFor(pred, 5000);
}

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '[' << texts.join(QStringLiteral(" / ")).toStdString() << ']';
}

// Waits until actual equals expected, then compares them, so that a failure shows both.
#define EXPECT_EVENTUALLY_EQ(actual, expected)                                                     \
    do {                                                                                           \
        Eventually([&] { return (actual) == (expected); });                                        \
        EXPECT_EQ(actual, expected);                                                               \
    } while (false)
