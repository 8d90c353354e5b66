#pragma once

#include <QIcon>

// The program's own icon, in 16 and 32 pixels, from the resources built into the program.
QIcon programIcon();
