#include "export/ui/ExportMenu.h"

#include <QDir>
#include <QMenu>
#include <QTableView>

#include "export/ui/ExportTexts.h"
#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "platform/files/FileChecks.h"
#include "platform/files/SafeOutput.h"
#include "platform/jet/Database.h"
#include "shell/BusyPointer.h"
#include "shell/SaveFileChooser.h"
#include "shell/frmmsg.h"

namespace exports {

namespace {

void chooseAndSave(QWidget* parent, const QString& table, const QString& statement,
                   ExportFormat format)
{
    const bool csv = format == ExportFormat::Csv;
    const QString suggested =
        QDir::home().filePath(table + (csv ? QStringLiteral(".csv") : QStringLiteral(".ics")));
    const QString filter =
        csv ? QStringLiteral("CSV (*.csv)") : QStringLiteral("iCalendar (*.ics)");
    const QString path = shell::chooseSaveFile(parent, csv ? texts::saveCsv : texts::saveCalendar,
                                               suggested, filter);
    if (!path.isEmpty())
        saveList(parent, table, statement, format, path);
}

} // namespace

bool saveList(QWidget* parent, const QString& table, const QString& statement, ExportFormat format,
              const QString& path)
{
    try {
        const auto which = data::registerNamed(table);
        if (!which)
            return false;
        {
            BusyPointer busy;
            // The menu's own connection, opened as every window opens the diary.
            auto database = data::OpenDiaryForReading(data::diaryPath());
            files::checkOutputTarget(path);
            files::writeFile(path, exportRecords(*database, *which, statement, format).bytes);
        }
        return true;
    } catch (const std::exception& error) {
        qWarning("Velmora: %s", error.what());
        frmmsg::showText(
            texts::exportFailed + QStringLiteral("\n\n") + QString::fromUtf8(error.what()), parent);
    }
    return false;
}

void installExportMenu(QTableView* grid, const QString& table, std::function<QString()> statement)
{
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(grid, &QWidget::customContextMenuRequested, grid,
                     [grid, table, statement](const QPoint& at) {
                         QMenu menu(grid);
                         QAction* csv = menu.addAction(texts::saveCsv);
                         QAction* calendar = menu.addAction(texts::saveCalendar);
                         // A window whose diary could not be opened has no list to save.
                         const QString shown = statement();
                         csv->setEnabled(!shown.isEmpty());
                         calendar->setEnabled(!shown.isEmpty());
                         const QAction* chosen = menu.exec(grid->viewport()->mapToGlobal(at));
                         if (chosen == csv)
                             chooseAndSave(grid, table, shown, ExportFormat::Csv);
                         else if (chosen == calendar)
                             chooseAndSave(grid, table, shown, ExportFormat::Calendar);
                     });
}

} // namespace exports
