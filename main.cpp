#include "common/starttrace.h"
#include "engine/mpv/mpvengine.h"
#include "platform/accessibility.h"
#include "player/formvideo.h"
#include "player/infooption.h"
#include "window/programend.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const auto asked = InfoOption::asked(arguments); asked != InfoOption::Asked::Nothing) {
        std::fputs(InfoOption::text(asked).toLocal8Bit().constData(),
                   asked == InfoOption::Asked::Unknown ? stderr : stdout);
        return InfoOption::exitCode(asked);
    }

    MpvEngine::prepareApplication();
    QApplication app(argc, argv);
    StartTrace::mark("application made");
    Accessibility::install();
    QApplication::setApplicationName(QStringLiteral("Orvella"));
    // The launcher's name: the Wayland app id, and what the desktop matches the window with.
    QApplication::setDesktopFileName(QStringLiteral("org.orvella.orvella"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(ORVELLA_VERSION_MAJOR)
                                            .arg(ORVELLA_VERSION_MINOR)
                                            .arg(ORVELLA_VERSION_PATCH));

    FormVideo window(std::make_unique<MpvEngine>());
    ProgramEnd end(window);
    QObject::connect(&window, &FormVideo::unloaded, &end, &ProgramEnd::end);
    if (!window.load(QApplication::arguments().mid(1)))
        return 0;
    return end.exec();
}
