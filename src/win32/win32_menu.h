#pragma once

#include "forms/form_table.h"
#include "win32/win32_handles.h"

// The form's menu bar, captions with their '&', items by commandId; a hidden item is left out.
UniqueMenu buildMenu(const FormTable& table);
