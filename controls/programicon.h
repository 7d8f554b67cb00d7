// The program's icon, drawn by the program so it is sharp at every size it is asked for.
#pragma once

#include <QIcon>

QIcon programIcon();
