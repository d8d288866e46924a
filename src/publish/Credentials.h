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

// The login and password for `url` from the desktop's secret service (libsecret), stored for
// example with `secret-tool store --label=Velmora server HOST protocol https user LOGIN`; when
// the URL names a user, that user's. None without a session bus, a service or an unlocked item,
// and in a build without libsecret.
std::optional<Credentials> secretServiceCredentials(const QUrl& url);

// ~/.netrc's, else the secret service's.
std::optional<Credentials> credentialsFor(const QUrl& url);

} // namespace publish
