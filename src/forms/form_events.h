#pragma once

#include "forms/form_table.h"

// The events a view raises, by control; a control without a handler for one ignores it.
class FormEvents
{
public:
    virtual ~FormEvents() = default;
    virtual void click(ControlId) {}
    virtual void change(ControlId) {}
    virtual void choose(MenuId) {}
    // Once the controls exist, before the user can act.
    virtual void Form_Load() = 0;
    // When the window is unloaded, by the program or by its close box.
    virtual void Form_Unload() {}
};
