#pragma once

#include <array>

// The state of the main window's menu strip: which label highlights show, whether a pop-up is
// open (MenuOpen) and which. The window carries out each step on its widgets afterwards.
// Labels and pop-ups are numbered 1 to 4.
class MenuStrip {
public:
    static constexpr int kLabels = 4;

    bool MenuOpen() const { return m_menuOpen; }
    // The open pop-up, 0 when none is.
    int openPopup() const { return m_popup; }
    bool highlighted(int label) const { return m_highlight[label - 1]; }

    // A click on label n: the other highlights go, pop-up n opens (or stays), MenuOpen.
    void labelClick(int n);
    // The mouse over label n: its highlight only; with a pop-up open, pop-up n replaces it.
    void labelHover(int n);
    // The mouse over the empty strip or client area: highlights go, unless a pop-up is open.
    void backgroundHover();
    // MDIForm_Click: no highlight, no pop-up, MenuOpen False.
    void closeAll();

private:
    void showOnly(int n);

    bool m_menuOpen = false;
    int m_popup = 0;
    std::array<bool, kLabels> m_highlight{};
};
