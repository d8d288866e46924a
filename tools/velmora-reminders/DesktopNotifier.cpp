#include "DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

#include "reminders/ReminderTexts.h"

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
// A service that does not answer within this is taken as none, so the program stays
// responsive (a termination signal is served within five seconds).
constexpr int kCallMs = 2000;

QDBusMessage call(const QString& method, const QVariantList& arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kService, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, kCallMs);
}

void sayNoService(const QDBusMessage& reply)
{
    // clang-format off
    reminders::sayOnce(QStringLiteral(u"ಡೆಸ್ಕ್‌ಟಾಪ್‌ನ ಸೂಚನೆಗಳ ಸೇವೆ (%1) ಸಿಗಲಿಲ್ಲ (%2); ನೆನಪುಗಳು "
                                      u"ಅದು ಬಂದಾಗ ತೋರುತ್ತವೆ.")
                           .arg(kService, reply.errorName()));
    // clang-format on
}

} // namespace

DesktopNotifier::DesktopNotifier(QObject* parent) : Notifier(parent)
{
    // Timers stand still while the computer sleeps; without logind the next look (a minute at
    // most) finds what fell due.
    QDBusConnection::systemBus().connect(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
        SLOT(onPrepareForSleep(bool)));
}

void DesktopNotifier::onPrepareForSleep(bool sleeping)
{
    if (!sleeping)
        emit wokeUp();
}

bool DesktopNotifier::ready()
{
    if (m_capabilities)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        reminders::sayOnce(QStringLiteral(u"ಸೆಷನ್ ಬಸ್ ಇಲ್ಲ (DBUS_SESSION_BUS_ADDRESS); ನೆನಪುಗಳನ್ನು "
                                          u"ತೋರಿಸಲಾಗದು."));
        return false;
    }
    const QDBusMessage reply = call(QStringLiteral("GetCapabilities"));
    if (reply.type() != QDBusMessage::ReplyMessage) {
        sayNoService(reply);
        return false;
    }
    m_capabilities = reply.arguments().value(0).toStringList();
    if (!m_listening) {
        m_listening = bus.connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
                                  SLOT(onActionInvoked(uint, QString))) &&
                      bus.connect(kService, kPath, kService, QStringLiteral("NotificationClosed"),
                                  this, SLOT(onClosed(uint, uint)));
    }
    return true;
}

std::optional<uint> DesktopNotifier::show(const QString& summary, const QString& body,
                                          bool withAgain)
{
    if (!ready())
        return std::nullopt;
    QStringList actions;
    if (m_capabilities->contains(QLatin1String("actions"))) {
        // "default" is a click on the notification itself.
        actions << QStringLiteral("default") << reminders::texts::openAction()
                << QStringLiteral("open") << reminders::texts::openAction();
        if (withAgain)
            actions << QStringLiteral("again") << reminders::texts::againAction();
    }
    QString text = body.endsWith(u'\n') ? body.chopped(1) : body;
    if (m_capabilities->contains(QLatin1String("body-markup")))
        text = text.toHtmlEscaped();
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("velmora")},
                            {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))}};
    const QDBusMessage reply = call(QStringLiteral("Notify"),
                                    {QStringLiteral(u"ವೆಲ್ಮೊರಾ"), uint(0), QStringLiteral("velmora"),
                                     summary, text, actions, hints, int(-1)});
    if (reply.type() != QDBusMessage::ReplyMessage) {
        // Gone since it answered: asked again before the next notification.
        m_capabilities.reset();
        sayNoService(reply);
        return std::nullopt;
    }
    const uint id = reply.arguments().value(0).toUInt();
    m_mine.insert(id);
    return id;
}

void DesktopNotifier::onActionInvoked(uint id, const QString& action)
{
    if (m_mine.contains(id))
        emit actionChosen(id, action == QLatin1String("default") ? QStringLiteral("open") : action);
}

void DesktopNotifier::onClosed(uint id, uint)
{
    m_mine.remove(id);
}
