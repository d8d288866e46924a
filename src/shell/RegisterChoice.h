#pragma once

// A working window that shows one of several registers, chosen by the menu between loading it
// and showing it (the report window's Option_tarna). The menu sets the choice through this,
// without knowing the window's class.
class RegisterChoice {
public:
    virtual ~RegisterChoice() = default;
    // Index 0 selects the local register, 1 the outstation register.
    virtual void setOption_tarna(int Index) = 0;
};
