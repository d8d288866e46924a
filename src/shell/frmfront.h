#pragma once

#include <QWidget>

// The front screen: the front picture, centred, without a title bar. A click or a key opens
// the main window once; Escape ends the program instead. A key with a character acts on its
// press, any other key on its release.
class frmfront : public QWidget {
    Q_OBJECT
public:
    explicit frmfront(QWidget* parent = nullptr);

public slots:
    void Form_Click();
    void Form_KeyPress(int KeyAscii);
    void Form_KeyUp(int KeyCode);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OpenMainWindow();
    void EndProgram();

    bool m_dismissed = false;
};
