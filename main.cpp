#include "controls/accessibility.h"
#include "controls/starttrace.h"
#include "engine/mpvengine.h"
#include "player/formvideo.h"
#include "window/programend.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    MpvEngine::prepareApplication();
    QApplication app(argc, argv);
    StartTrace::mark("application made");
    Accessibility::install();
    QApplication::setApplicationName(QStringLiteral("Orvella"));
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
