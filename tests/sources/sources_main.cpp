// The readers' tests write their PDF fixtures with Qt's own writer, which
// needs the application's fonts: one offscreen QGuiApplication.
#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
