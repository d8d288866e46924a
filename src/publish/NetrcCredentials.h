#pragma once

#include <optional>

#include <QString>
#include <QUrl>

namespace publish {

struct Credentials {
    QString login;
    QString password;
};

// The login and password for `url`'s host from ~/.netrc (its "machine" entry, else "default";
// when the URL names a user, that user's entry). Never from settings or the command line.
// None when the file or an entry is missing. A .netrc that its group or others may read is
// refused (PublishError, Environment), as is one that cannot be read.
std::optional<Credentials> netrcCredentials(const QUrl& url);

} // namespace publish
