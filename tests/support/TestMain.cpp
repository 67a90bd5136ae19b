#include <QtGlobal>
#ifdef QUORVEL_GUI_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication; // fonts, for laying out help text
#endif

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // No test needs a display, nor may it open a window on one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
