#pragma once

#include <array>
#include <functional>
#include <vector>

#include "shell/DialogFrame.h"

class QLabel;
class ShapeWidget;
namespace varnel {
class VarnelLabel;
}

// What a pop-up needs of the main window that opens it.
struct MenuHost {
    int left = 0;                     // the x of its strip label in the client area
    QWidget* window = nullptr;        // over which failures are reported
    std::function<void()> closeMenus; // MDIForm_Click: every pop-up closes
};

// The pop-up menus frmMenu1 to frmMenu4: small captionless child windows under the strip
// labels of the main window, three entries each. The mouse over an entry greys it; a click runs
// the entry's action and then closes every pop-up through the host (the main window's
// MDIForm_Click).
class frmMenu : public DialogFrame {
    Q_OBJECT
public:
    static constexpr int kEntries = 3;

    // number: 1 to 4. parent: the main window's client area.
    frmMenu(int number, QWidget* parent, MenuHost host = {});

    int number() const { return m_number; }
    static QByteArray entryCaption(int number, int index);

    // A further entry under the documented three (the help pop-up's backups and keyboards): the
    // pop-up grows by one row; the entry lights while the mouse is over it, as the others do, and
    // runs `action` when chosen, after which every pop-up closes.
    QLabel* addRow(const QString& name, const QString& caption, std::function<void()> action);

    // The entries by number, the documented three first, for the keyboard.
    int entryCount() const { return kEntries + int(m_rows.size()); }
    void highlightEntry(int index); // -1: none
    int highlightedEntry() const;
    void chooseEntry(int index);

    ShapeWidget* Shape0;
    std::array<ShapeWidget*, kEntries> Shape1{};
    std::array<varnel::VarnelLabel*, kEntries> Label1{};

public slots:
    void Label1_Click(int Index);
    void Label1_MouseMove(int Index);

private:
    void Form_Load();
    // The entry's action: opens its window (or shows the about window).
    void openEntry(int Index);
    // MDIForm_Click of the main window: every pop-up closes.
    void closeMenus();

    struct Row {
        QLabel* label;
        std::function<void()> action;
    };
    std::vector<Row> m_rows;
    int m_number;
    MenuHost m_host;
};
