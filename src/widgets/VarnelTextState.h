#pragma once

#include <QByteArray>
#include <QString>

#include "platform/varnel/VarnelCodec.h"

namespace varnel {

// What a text box needs to give back Varnel bytes: the bytes it was given and the text it showed
// for them, so that a text the user did not change returns its bytes exactly. A changed text of
// a one-line box is stored as one line.
class VarnelTextState {
public:
    explicit VarnelTextState(bool multiLine) : m_multiLine(multiLine) {}

    // Remembers the bytes and returns the text to show.
    QString load(const QByteArray& bytes);

    // The bytes for what the box shows now.
    Encoded result(const QString& shown) const;

    bool isUntouched(const QString& shown) const { return shown == m_shown; }

    // A text as a one-line box shows it: each line break (CR, LF, line or paragraph separator),
    // tab or other control character one space.
    static QString asOneLine(QString text);

private:
    bool m_multiLine;
    QByteArray m_bytes;
    QString m_shown;
};

} // namespace varnel
