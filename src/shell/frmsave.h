#pragma once

#include <array>
#include <cstdint>

#include <QDialog>

class DialogFrame;
class QLabel;
class QTimer;
namespace varnel {
class VarnelLabel;
}

// The timed notice after a save: "being saved....." over a bar of ten cells that fills one cell
// every 75 ms; the eleventh tick closes it. Every showing is a new window with an empty bar.
class frmsave : public QDialog {
    Q_OBJECT
public:
    static constexpr int kCells = 10;
    static constexpr int kInterval = 75; // milliseconds

    explicit frmsave(QWidget* parent = nullptr);

    // Shows the notice modally; returns when it has closed itself.
    static void showNotice(QWidget* parent = nullptr);

    QLabel* Image1;
    varnel::VarnelLabel* Label2;
    std::array<QLabel*, kCells> Label1{};
    QTimer* Timer1;

    std::int16_t cellIndex() const { return CellIndex; }
    bool cellPainted(int k) const;

public slots:
    void Timer1_Timer();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();

    DialogFrame* m_frame;
    std::int16_t CellIndex = 0;
};
