#pragma once

#include <QList>
#include <QMap>
#include <optional>

#include "registers/RecordEditor.h"
#include "registers/RecordEditorView.h"

// A register window without a screen: fields are plain values, the navigator behaves like a
// scroll bar (a changed value runs the editor's change handler), dialogs answer from a queue.
class FakeRegisterView : public registers::RecordEditorView {
public:
    registers::RecordEditor* editor = nullptr;

    QString serial;
    QMap<int, QDate> dates;
    QMap<int, QTime> times;
    struct TextField {
        QByteArray stored;
        std::optional<QString> typed; // what the user typed in Unicode, if anything
    };
    QMap<int, TextField> texts;

    int navMax = 1;
    int navValue = 1;
    bool navEnabled = true;
    registers::ButtonStates buttons;
    int newCaptionSwaps = 0;

    QList<bool> answers; // next answers to questions; an empty queue answers No
    QList<QByteArray> questions;
    QList<QByteArray> messages;
    QList<QString> textMessages;
    int saveNotices = 0;

    // The user's own actions.
    void type(int ordinal, const QString& unicode) { texts[ordinal].typed = unicode; }
    void typeVarnel(int ordinal, const QByteArray& bytes)
    {
        texts[ordinal] = {bytes, std::nullopt};
    }
    void scrollTo(int value);
    QByteArray shownText(int ordinal) const;

    void setSerialText(const QString& text) override { serial = text; }
    QString serialText() const override { return serial; }
    void setDate(int ordinal, const QDate& date) override { dates[ordinal] = date; }
    QDate date(int ordinal) const override { return dates.value(ordinal); }
    void setTime(int ordinal, const QTime& time) override { times[ordinal] = time; }
    QTime time(int ordinal) const override { return times.value(ordinal); }
    void setText(int ordinal, const QByteArray& varnel) override
    {
        texts[ordinal] = {varnel, std::nullopt};
    }
    varnel::Encoded text(int ordinal) const override;

    void setNavigatorMaximum(int maximum) override;
    void setNavigatorValue(int value) override;
    int navigatorValue() const override { return navValue; }
    void setNavigatorEnabled(bool enabled) override { navEnabled = enabled; }
    void setButtons(const registers::ButtonStates& states) override { buttons = states; }
    void showNewCaptionInsteadOfCancel() override { ++newCaptionSwaps; }

    bool ask(const QByteArray& question) override;
    void message(const QByteArray& m) override { messages << m; }
    void messageText(const QString& m) override { textMessages << m; }
    void saveNotice() override { ++saveNotices; }
};
