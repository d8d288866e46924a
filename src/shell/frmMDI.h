#pragma once

#include <array>

#include <QMainWindow>
#include <QPointer>

#include "shell/MenuStrip.h"

class KeyboardIndicator;
class MenuKeys;
class QMdiArea;
class ShapeWidget;
class frmMenu;
namespace varnel {
class VarnelLabel;
}

// The main window: maximised, no platform menu bar; the strip Picture1 along its top holds
// four labels that open the pop-up menus, and the client area below holds every working window.
class frmMDI : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMDI(QWidget* parent = nullptr);
    ~frmMDI() override;

    // The loaded main window, or nullptr.
    static frmMDI* instance();

    QMdiArea* mdiArea() const { return m_mdiArea; }
    const MenuStrip& strip() const { return m_strip; }
    // The open pop-up menu n (1 to 4), or nullptr.
    frmMenu* popup(int n) const;
    // The strip by keyboard, and the note of how keys type at its right end.
    MenuKeys* menuKeys() const { return m_menuKeys; }
    KeyboardIndicator* keyboardState() const { return m_keyboardState; }

    QWidget* Picture1;
    std::array<varnel::VarnelLabel*, MenuStrip::kLabels> Label{}; // Label1 to Label4
    std::array<ShapeWidget*, MenuStrip::kLabels> Shape{};         // Shape1 to Shape4

public slots:
    void MDIForm_Click();
    void MDIForm_MouseMove();
    void Label1_Click();
    void Label2_Click();
    void Label3_Click();
    void Label4_Click();
    void Label1_MouseMove();
    void Label2_MouseMove();
    void Label3_MouseMove();
    void Label4_MouseMove();
    void Picture1_Click();
    void Picture1_MouseMove();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void MDIForm_Load();
    void labelClick(int n);
    void labelMouseMove(int n);
    // Carries the strip's state over to the highlights and pop-ups.
    void showStrip();

    QMdiArea* m_mdiArea;
    MenuStrip m_strip;
    std::array<QPointer<frmMenu>, MenuStrip::kLabels> m_popups{};
    MenuKeys* m_menuKeys;
    KeyboardIndicator* m_keyboardState;
};
