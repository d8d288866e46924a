#pragma once

#include <optional>

#include <QObject>
#include <QString>

namespace reminders {

// Where reminders are shown: the desktop's notification service (velmora-reminders' D-Bus
// notifier) or a test's stand-in.
class Notifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Whether notifications can be shown now; a notifier that cannot says why once.
    virtual bool ready() = 0;
    // Shows one notification (Unicode Kannada; `body` lines end with '\n'), with the actions
    // "open" and "again" where the service offers actions. Its id, or none when it could not be
    // shown.
    virtual std::optional<uint> show(const QString& summary, const QString& body,
                                     bool withAgain) = 0;

signals:
    // The user chose an action of notification `id`: "open" or "again".
    void actionChosen(uint id, const QString& action);
};

// Writes "velmora-reminders: TEXT" on standard error, once per text for the whole run, so a
// lasting trouble (no notification service, a missing diary) is said once, not at every look.
void sayOnce(const QString& text);

} // namespace reminders
