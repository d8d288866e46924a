#include "shell/DialogHooks.h"

namespace {
DialogHooks* installed = nullptr;
}

DialogHooks::~DialogHooks() = default;

DialogHooks* DialogHooks::current()
{
    return installed;
}

DialogHooks* DialogHooks::install(DialogHooks* hooks)
{
    DialogHooks* before = installed;
    installed = hooks;
    return before;
}
