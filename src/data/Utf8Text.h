#pragma once

#include <QByteArray>
#include <QStringView>

namespace data {

// Appends `text` to `utf8` as UTF-8 without a temporary: lists and exports write every text
// of every record through here. (A lone surrogate, which no decoded text holds, is written as
// U+FFFD.)
void appendUtf8(QByteArray& utf8, QStringView text);

} // namespace data
