// Starts the window program: checks that a display can be opened, sets the fixed
// style and font, and shows Form1 maximized with the start-up sequence queued.
#include "app/form1.h"
#include "output/drives.h"
#include "program/program.h"
#include "state/clock.h"
#include "surface/interface_font.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>

namespace {

// Qt ends the process with a fatal message when no display can be opened; say so
// plainly instead of aborting with a core dump.
void startupMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    std::fprintf(stderr, "mandalix: cannot open the display%s%s%s.\n%s\n",
                 display.isEmpty() ? " (DISPLAY is not set" : " (DISPLAY=",
                 display.constData(), ")", qPrintable(message));
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    qInstallMessageHandler(startupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    QApplication::setApplicationName(QStringLiteral("mandalix"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(mandalix::interfaceFont());

    mandalix::SystemClock clock;
    mandalix::Program program(clock, mandalix::drivesFromEnvironment());
    mandalix::Form1 form(program);
    form.showMaximized();
    form.start();
    return app.exec();
}
