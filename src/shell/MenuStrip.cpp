#include "shell/MenuStrip.h"

void MenuStrip::showOnly(int n)
{
    for (int i = 1; i <= kLabels; ++i) {
        if (i != n)
            m_highlight[i - 1] = false;
    }
}

void MenuStrip::labelClick(int n)
{
    // Highlight n stays as the hover left it.
    showOnly(n);
    m_popup = n;
    m_menuOpen = true;
}

void MenuStrip::labelHover(int n)
{
    m_highlight[n - 1] = true;
    showOnly(n);
    if (m_menuOpen)
        m_popup = n;
}

void MenuStrip::backgroundHover()
{
    if (m_menuOpen)
        return;
    m_highlight.fill(false);
}

void MenuStrip::closeAll()
{
    m_highlight.fill(false);
    m_popup = 0;
    m_menuOpen = false;
}
