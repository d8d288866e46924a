#include "reminders/ReminderSettings.h"

#include "platform/files/ProgramSettings.h"

namespace reminders {

Settings settingsFrom(const QVariant& enabled, const QVariant& minutesBefore,
                      const QVariant& tourEvening)
{
    Settings settings;
    if (enabled.isValid())
        settings.enabled = enabled.toBool();
    bool ok = false;
    const int minutes = minutesBefore.toString().trimmed().toInt(&ok);
    if (ok && minutes >= 0 && minutes <= kMaximumMinutesBefore)
        settings.minutesBefore = minutes;
    if (tourEvening.isValid()) {
        const QString text = tourEvening.toString().trimmed();
        const QTime evening = QTime::fromString(text, QStringLiteral("H:mm"));
        if (text.isEmpty())
            settings.tourEvening.reset();
        else if (evening.isValid())
            settings.tourEvening = evening;
    }
    return settings;
}

Settings readSettings()
{
    return settingsFrom(files::programSetting(QStringLiteral("reminders/enabled")),
                        files::programSetting(QStringLiteral("reminders/minutes-before")),
                        files::programSetting(QStringLiteral("reminders/tour-evening")));
}

} // namespace reminders
