#pragma once

#include <functional>

#include <QMap>
#include <QWidget>

#include "registers/RecordEditor.h"
#include "registers/RecordEditorView.h"
#include "registers/RegisterMapping.h"
#include "registers/ui/RegisterWindowLayout.h"

class ImageButton;
class ImageButtonPanel;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace varnel {
class DateTimePicker;
class VarnelLineEdit;
class VarnelTextEdit;
} // namespace varnel

namespace registers {

// A register window: the controls of its layout wired to one record editor. frmlocal,
// frmoutstation and frmtour are this window over their own table and layout.
class RegisterWindow : public QWidget, public RecordEditorView {
    Q_OBJECT

public:
    RegisterWindow(const RegisterMapping& mapping, const RegisterWindowLayout& layout,
                   QWidget* parent = nullptr);
    ~RegisterWindow() override;

    RecordEditor& editor() { return m_editor; }
    ImageButtonPanel* buttons() const { return m_panel; }
    QScrollBar* VScroll1() const { return m_navigator; }
    QWidget* control(int ordinal) const { return m_controls.value(ordinal); }
    QPushButton* undoButton() const { return CmdUndo; }

    // RecordEditorView
    void setSerialText(const QString& text) override;
    QString serialText() const override;
    void setDate(int ordinal, const QDate& date) override;
    QDate date(int ordinal) const override;
    void setTime(int ordinal, const QTime& time) override;
    QTime time(int ordinal) const override;
    void setText(int ordinal, const QByteArray& varnel) override;
    varnel::Encoded text(int ordinal) const override;
    void setNavigatorMaximum(int maximum) override;
    void setNavigatorValue(int value) override;
    int navigatorValue() const override;
    void setNavigatorEnabled(bool enabled) override;
    void setButtons(const ButtonStates& states) override;
    void showNewCaptionInsteadOfCancel() override;
    bool ask(const QByteArray& varnelQuestion) override;
    void message(const QByteArray& varnelMessage) override;
    void messageText(const QString& unicodeMessage) override;
    void saveNotice() override;
    bool askText(const QString& unicodeQuestion) override;
    void setUndoAvailable(bool available) override;

public slots:
    void ImageNew_Click();
    void ImageSave_Click();
    void ImageCancel_Click();
    void ImageDelete_Click();
    void ImageExit_Click();
    void VScroll1_Change();
    // Ctrl+Z, and the undo entry: the window's last deletion or save taken back.
    void CmdUndo_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void buildFields();
    void buildButtons();
    void buildUndo();
    varnel::DateTimePicker* picker(int ordinal) const;
    // Runs a handler; a failure is shown in the message dialog and the window goes on.
    void guarded(const std::function<void()>& handler);

    const RegisterMapping& m_mapping;
    const RegisterWindowLayout& m_layout;
    RecordEditor m_editor;
    QGroupBox* Frame1 = nullptr;
    QScrollBar* m_navigator = nullptr;
    QLineEdit* TxtSl_no = nullptr;
    QMap<int, QWidget*> m_controls;
    ImageButtonPanel* m_panel = nullptr;
    ImageButton* ImageNew = nullptr;
    ImageButton* ImageCancel = nullptr;
    ImageButton* ImageSave = nullptr;
    ImageButton* ImageDelete = nullptr;
    ImageButton* ImageExit = nullptr;
    QPushButton* CmdUndo = nullptr;
};

} // namespace registers
