#pragma once

#include "shell/MessageDialogBase.h"

// The message dialog: a warning picture, the message and one button, "OK". A notice that
// something went well shows the information picture instead.
class frmmsg : public MessageDialogBase {
    Q_OBJECT
public:
    explicit frmmsg(QWidget* parent = nullptr, Pictures::Icon picture = Pictures::Icon::Warning);

    // Shows a documented message (Varnel bytes) modally; returns when the user has pressed OK.
    static void showMessage(const QByteArray& varnel, QWidget* parent = nullptr);
    // The same for a message of our own, in Unicode Kannada.
    static void showText(const QString& unicodeKannada, QWidget* parent = nullptr);
    // A notice of our own that something was done, with the information picture.
    static void showNotice(const QString& unicodeKannada, QWidget* parent = nullptr);

    QPushButton* Command1;

public slots:
    void Command1_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
