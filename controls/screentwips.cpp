#include "controls/screentwips.h"

#include "common/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

TwipsPerPixel twipsPerPixel(const QWidget* widget)
{
    const QScreen* screen = widget ? widget->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {Twips::perPixel(screen->logicalDotsPerInchX()),
            Twips::perPixel(screen->logicalDotsPerInchY())};
}
