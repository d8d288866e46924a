#include "shell/MenuStrip.h"

void MenuStrip::showOnly(int n)
{
    for (int i = 1; i <= kLabels; ++i) {
        if (i != n)
            highlight_[i - 1] = false;
    }
}

void MenuStrip::labelClick(int n)
{
    // Highlight n stays as the hover left it.
    showOnly(n);
    popup_ = n;
    menuOpen_ = true;
}

void MenuStrip::labelHover(int n)
{
    highlight_[n - 1] = true;
    showOnly(n);
    if (menuOpen_)
        popup_ = n;
}

void MenuStrip::backgroundHover()
{
    if (menuOpen_)
        return;
    highlight_.fill(false);
}

void MenuStrip::closeAll()
{
    highlight_.fill(false);
    popup_ = 0;
    menuOpen_ = false;
}
