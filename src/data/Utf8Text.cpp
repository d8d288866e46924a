#include "data/Utf8Text.h"

#include <QStringEncoder>

namespace data {

void appendUtf8(QByteArray& utf8, QStringView text)
{
    // Stateless: half a surrogate pair is never carried from one text into the next.
    thread_local QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    const qsizetype at = utf8.size();
    utf8.resize(at + encoder.requiredSpace(text.size()));
    char* const end = encoder.appendToBuffer(utf8.data() + at, text);
    utf8.truncate(end - utf8.constData());
}

} // namespace data
