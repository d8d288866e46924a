#pragma once

#include <stdexcept>

#include <QString>

namespace publish {

// A publish that cannot go on. BadInput: the URL or the collection cannot be used (not http or
// https, no such collection, not a calendar); Environment: the server is unreachable, refuses
// the credentials, or the state cannot be kept. The text is one Kannada line naming the URL and
// never holds a password.
struct PublishError : std::runtime_error {
    enum Kind { BadInput, Environment };
    PublishError(Kind kind, const QString& text)
        : std::runtime_error(text.toStdString()), kind(kind), text(text)
    {
    }
    Kind kind;
    QString text;
};

} // namespace publish
