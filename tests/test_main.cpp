// Shared entry point of the unit tests: an application object on the offscreen
// platform, so surfaces can print text and widgets can be built without a display.
#include "surface/interface_font.h"

#include <QApplication>
#include <QStyleFactory>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // gtest_discover_tests runs this binary at build time, outside CTest's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(mandalix::interfaceFont());
    return RUN_ALL_TESTS();
}
