#pragma once

#include <QDateTime>
#include <QList>
#include <QPair>
#include <memory>

#include "FakeRegisterView.h"
#include "RegisterFixture.h"
#include "registers/RecordEditor.h"
#include "registers/RegisterMapping.h"

// What the record editor's tests share: a fixed clock, the button rows, an editor over a fake
// window and a diary with one open.

inline const QDateTime kNow(QDate(2026, 12, 7), QTime(21, 5, 42, 250));

inline const registers::ButtonStates kBrowsing{true, true, false, true, true};
inline const registers::ButtonStates kAdding{false, true, true, false, false};
inline const registers::ButtonStates kAddingFirst{false, false, false, false, false};

// Test mode settings, and no clash checks: records added at one moment would clash.
void startRecordEditorTests();

// One open editor over a fake window.
struct Editor {
    FakeRegisterView view;
    registers::RecordEditor editor;

    Editor(const registers::RegisterMapping& mapping, const QString& path);
    void saveAnswering(bool yes);
    void deleteShown();
    void cancelNew();
    QByteArray topic() const { return view.shownText(4); }
};

// A diary whose register holds `rows` records, with an editor open on it.
struct Session {
    RegisterFixture db;
    std::unique_ptr<Editor> editor;

    Session(const registers::RegisterMapping& mapping, int rows);
};

// The register's (serial, topic) rows when it holds the topics of `originals` in this order.
QList<QPair<int, QByteArray>> expectedRows(const QList<int>& originals);
QList<int> range(int from, int to);
