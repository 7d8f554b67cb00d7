// The program-wide mouse pointer: the default arrow, or the diagonal sizing pointer that the
// main window's size grip shows.
#pragma once

namespace Pointer {

bool isDefault();
// Back to the arrow, wherever it was set.
void reset();
// The diagonal (north-west, south-east) sizing pointer.
void setSizing();

} // namespace Pointer
