#pragma once

#include "shell/MessageDialogBase.h"

// The question dialog: a question picture, the question, Yes and No. Enter answers Yes,
// Escape No; any other way of closing it answers No too, so a caller never acts on an earlier
// answer.
class frmquestion : public MessageDialogBase {
    Q_OBJECT
public:
    explicit frmquestion(QWidget* parent = nullptr);

    // True after Yes, False after No. Kept after the dialog has gone, until the next answer.
    static bool msg_Value;

    // Asks `varnelQuestion` modally and returns the answer (also left in msg_Value).
    static bool ask(const QByteArray& varnelQuestion, QWidget* parent = nullptr);
    // The same for a question in Unicode Kannada, e.g. one that names a file.
    static bool askText(const QString& unicodeQuestion, QWidget* parent = nullptr);

    QPushButton* CmdYes;
    QPushButton* CmdNo;

public slots:
    void CmdYes_Click();
    void CmdNo_Click();
    void reject() override;
};
