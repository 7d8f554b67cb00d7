#include "platform/alwaysontop.h"

#include <QWidget>

namespace AlwaysOnTop {

void MakeTopmost(QWidget& form)
{
    // A change of flags re-creates a shown window; keep it shown where it was.
    const bool shown = form.isVisible();
    form.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (shown)
        form.show();
}

} // namespace AlwaysOnTop
