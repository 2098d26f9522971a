// Starts the window program: reads the slide show's options (a bad one ends it with
// status 2 and one line), checks that a display can be opened, sets the fixed style and
// font, and shows Form1 maximized with the start-up sequence queued, then the slide show
// when asked for.
#include "app/form1.h"
#include "app/slide_show_options.h"
#include "output/drives.h"
#include "program/program.h"
#include "state/clock.h"
#include "surface/interface_font.h"

#include <QApplication>
#include <QStringList>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>

namespace {

// Messages Qt gives while the application object is being made, held back until it is.
QStringList& earlyMessages()
{
    static QStringList messages;
    return messages;
}

// Qt ends the process with a fatal message, after warnings of its own, when no display
// can be opened; say so in one plain line instead and exit without a core dump.
void startupMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        earlyMessages() << message;
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    std::fprintf(stderr, "mandalix: cannot open the display%s%s%s.\n",
                 display.isEmpty() ? " (DISPLAY is not set" : " (DISPLAY=",
                 display.constData(), ")");
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int k = 1; k < argc; ++k)
        arguments << QString::fromLocal8Bit(argv[k]);
    const mandalix::SlideShowOptions slideShow = mandalix::slideShowOptions(arguments);
    if (!slideShow.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(slideShow.error));
        return 2;
    }

    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    qInstallMessageHandler(startupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    for (const QString& message : earlyMessages())
        std::fprintf(stderr, "%s\n", qPrintable(message));
    QApplication::setApplicationName(QStringLiteral("mandalix"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(mandalix::interfaceFont());

    mandalix::SystemClock clock;
    mandalix::Program program(clock, mandalix::drivesFromEnvironment());
    mandalix::Form1 form(program);
    form.setSlideShowInterval(slideShow.interval);
    form.showMaximized();
    form.start();
    if (slideShow.isSlideShow)
        form.openSlideShow();
    return app.exec();
}
