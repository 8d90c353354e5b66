#pragma once

#include "forms/form_table.h"

// The keys a List acts on by itself, beside Enter.
enum class ListKey { Delete, Copy };  // Del; Ctrl+C

// The events a view raises, by control; a control without a handler for one ignores it.
class FormEvents
{
public:
    virtual ~FormEvents() = default;
    virtual void click(ControlId) {}
    // A List's row was double-clicked, or Enter pressed on it.
    virtual void activate(ControlId) {}
    virtual void key(ControlId, ListKey) {}
    virtual void change(ControlId) {}
    virtual void choose(MenuId) {}
    // Once the controls exist, before the user can act.
    virtual void Form_Load() = 0;
    // When the window is unloaded, by the program or by its close box.
    virtual void Form_Unload() {}
};
