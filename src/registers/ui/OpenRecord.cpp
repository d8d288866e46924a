#include "registers/ui/OpenRecord.h"

#include <algorithm>

#include <QScrollBar>

#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "registers/ui/RegisterWindow.h"
#include "shell/WindowRegistry.h"

namespace registers {

int serialOfRow(jet::Database& database, data::Register which, std::int64_t rowKey)
{
    const auto row = database.OpenRecordset(QStringLiteral("select sl_no from %1 where %2=%3")
                                                .arg(data::tableName(which), database.rowIdentity())
                                                .arg(rowKey),
                                            jet::RecordsetType::Snapshot);
    return row->RecordCount() > 0 ? row->Fields(0).Value().toInt() : 0;
}

void showRecordInItsWindow(data::Register which, int serial)
{
    const QString window = which == data::Register::Local        ? QStringLiteral("frmlocal")
                           : which == data::Register::Outstation ? QStringLiteral("frmoutstation")
                                                                 : QStringLiteral("frmtour");
    openChildWindow(window, [serial](QWidget* opened) {
        auto* w = qobject_cast<RegisterWindow*>(opened);
        if (!w || !w->VScroll1()->isEnabled())
            return;
        w->VScroll1()->setMaximum(std::max(serial, w->VScroll1()->maximum()));
        w->VScroll1()->setValue(serial);
    });
}

} // namespace registers
