#include "controls/pointer.h"

#include <QApplication>

namespace Pointer {

bool isDefault()
{
    return QApplication::overrideCursor() == nullptr;
}

void reset()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void setSizing()
{
    // One level only, so a single reset always brings the arrow back.
    if (isDefault())
        QApplication::setOverrideCursor(Qt::SizeFDiagCursor);
}

} // namespace Pointer
