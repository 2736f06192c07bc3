#pragma once
#include <QIcon>

// The program's icon, compiled into the program at every size it is drawn
// at (16 to 256 pixels), so it needs no file and no image plug-in at run time.
QIcon ApplicationIcon();
