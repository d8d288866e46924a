#pragma once

#include <optional>

#include <QList>
#include <QMap>
#include <QVariant>

#include "CliCommand.h"
#include "registers/RecordEditor.h"
#include "registers/RecordEditorView.h"

namespace cli {

// A register window for the command line: its fields are values in memory, the navigator
// behaves as the window's scroll bar does, and its dialogs are answered as a user who means
// the command would: Yes to the save and delete questions, Yes to a clash only when told to.
// Everything else the editor says is a refusal, kept to be reported.
class CliRecordView : public registers::RecordEditorView {
public:
    CliRecordView(const registers::RegisterMapping& mapping, bool allowClash);

    registers::RecordEditor& editor() { return m_editor; }
    const registers::RegisterMapping& mapping() const { return m_mapping; }

    // The record shown, its columns by ordinal as the register stores them.
    QList<QVariant> record() const;
    bool saved() const { return m_saved; }
    bool deleteAsked() const { return m_deleteAsked; }
    // The clash question the editor asked and was answered No, or empty.
    const QString& clash() const { return m_clash; }
    // What the editor refused with, and the exit status it stands for.
    struct Refusal {
        QString text;
        Exit code;
    };
    const std::optional<Refusal>& refusal() const { return m_refusal; }

    void setSerialText(const QString& text) override { m_serial = text; }
    QString serialText() const override { return m_serial; }
    void setDate(int ordinal, const QDate& date) override { m_values[ordinal] = date; }
    QDate date(int ordinal) const override { return m_values.value(ordinal).toDate(); }
    void setTime(int ordinal, const QTime& time) override { m_values[ordinal] = time; }
    QTime time(int ordinal) const override { return m_values.value(ordinal).toTime(); }
    void setText(int ordinal, const QByteArray& varnel) override { m_values[ordinal] = varnel; }
    varnel::Encoded text(int ordinal) const override
    {
        return {m_values.value(ordinal).toByteArray(), {}};
    }

    void setNavigatorMaximum(int maximum) override;
    void setNavigatorValue(int value) override;
    int navigatorValue() const override { return m_navigator; }
    void setNavigatorEnabled(bool) override {}
    void setButtons(const registers::ButtonStates&) override {}
    void showNewCaptionInsteadOfCancel() override {}

    bool ask(const QByteArray& varnelQuestion) override;
    bool askText(const QString& unicodeQuestion) override;
    void message(const QByteArray& varnelMessage) override;
    void messageText(const QString& unicodeMessage) override;
    void saveNotice() override { m_saved = true; }

private:
    void refuse(const QString& text, Exit code);

    const registers::RegisterMapping& m_mapping;
    registers::RecordEditor m_editor;
    bool m_allowClash;
    QString m_serial;
    QMap<int, QVariant> m_values;
    int m_navigatorMaximum = 1;
    int m_navigator = 1;
    bool m_saved = false;
    bool m_deleteAsked = false;
    QString m_clash;
    std::optional<Refusal> m_refusal;
};

} // namespace cli
