#include "RecordEditorFixture.h"

#include <QStandardPaths>

#include "engagements/ClashRule.h"

void startRecordEditorTests()
{
    QStandardPaths::setTestModeEnabled(true);
    engagements::setClashMinutes(0);
}

Editor::Editor(const registers::RegisterMapping& mapping, const QString& path)
    : editor(mapping, view)
{
    view.editor = &editor;
    editor.setClock([] { return kNow; });
    editor.OpenRegister(path);
}

void Editor::saveAnswering(bool yes)
{
    view.answers << yes;
    editor.ImageSave_Click();
}

void Editor::deleteShown()
{
    view.answers << true;
    editor.ImageDelete_Click();
}

void Editor::cancelNew()
{
    view.answers << true;
    editor.ImageCancel_Click();
}

Session::Session(const registers::RegisterMapping& mapping, int rows)
{
    db.create();
    if (rows > 0)
        db.fill(mapping.table, rows);
    editor = std::make_unique<Editor>(mapping, db.databasePath());
}

QList<QPair<int, QByteArray>> expectedRows(const QList<int>& originals)
{
    QList<QPair<int, QByteArray>> rows;
    for (int i = 0; i < originals.size(); ++i)
        rows.append({i + 1, RegisterFixture::topicOf(originals[i])});
    return rows;
}

QList<int> range(int from, int to)
{
    QList<int> r;
    for (int i = from; i <= to; ++i)
        r << i;
    return r;
}
