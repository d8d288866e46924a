#pragma once

#include <vector>

#include <QString>
#include <QStringList>

#include "find/FindHit.h"

namespace find {

// Where a register keeps what finding reads and shows, by the column names of the diary's
// schema: the date and time a hit shows and the text fields searched, in column order.
struct RegisterTexts {
    struct Column {
        int ordinal = 0;
        QString name;
    };
    data::Register which = data::Register::Local;
    QString table;
    QStringList columns; // every column, in order
    int date = 0;
    int time = 0;
    std::vector<Column> texts;
};

RegisterTexts registerTexts(data::Register which);

} // namespace find
