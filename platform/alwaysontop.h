// Puts a window into the band above all ordinary windows, keeping its place and size.
#pragma once

class QWidget;

namespace AlwaysOnTop {

void MakeTopmost(QWidget& form);

} // namespace AlwaysOnTop
