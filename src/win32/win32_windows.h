#pragma once

// <windows.h> as the Windows files use it: wide-character calls named explicitly, no min/max
// macros. MessageBox is also the core's message-box interface, so its macro goes.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef MessageBox
