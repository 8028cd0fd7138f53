// The bridge tests run GoogleTest inside a Qt Core application, whose thread stands for the
// GUI thread of the bridges. Not QtTest: its watchdog thread waits on Qt's own mutexes, which
// ThreadSanitizer cannot see, so every run would end in reports about Qt itself.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
