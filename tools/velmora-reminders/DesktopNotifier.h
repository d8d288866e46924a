#pragma once

#include <optional>

#include <QSet>
#include <QStringList>

#include "reminders/Notifier.h"

// The desktop's notification service (org.freedesktop.Notifications on the session bus), and
// the system's word (logind on the system bus) that the computer woke from sleep.
class DesktopNotifier : public reminders::Notifier {
    Q_OBJECT
public:
    explicit DesktopNotifier(QObject* parent = nullptr);

    // Asks the service what it offers, until it answers once; says once when there is none.
    bool ready() override;
    std::optional<uint> show(const QString& summary, const QString& body, bool withAgain) override;

signals:
    void wokeUp();

private slots:
    void onPrepareForSleep(bool sleeping);
    void onActionInvoked(uint id, const QString& action);
    void onClosed(uint id, uint reason);

private:
    std::optional<QStringList> m_capabilities;
    bool m_listening = false;
    QSet<uint> m_mine; // other programs' notifications share the service's signals
};
