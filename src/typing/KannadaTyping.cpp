#include "typing/KannadaTyping.h"

#include "platform/files/ProgramSettings.h"

namespace varnel {

namespace {

const char* const kLayoutKey = "keyboard/layout";

} // namespace

KannadaTyping& KannadaTyping::instance()
{
    static KannadaTyping typing;
    return typing;
}

KannadaTyping::KannadaTyping()
{
    m_layout = fromSettingsName(files::programSetting(QLatin1String(kLayoutKey)).toString());
}

void KannadaTyping::setLayout(KeyboardLayout layout)
{
    files::setProgramSetting(QLatin1String(kLayoutKey), settingsName(layout));
    if (layout == m_layout)
        return;
    m_layout = layout;
    emit changed();
}

void KannadaTyping::setSwitchedOn(bool on)
{
    if (on == m_switchedOn)
        return;
    m_switchedOn = on;
    emit changed();
}

QString KannadaTyping::settingsName(KeyboardLayout layout)
{
    switch (layout) {
    case KeyboardLayout::Off: return QStringLiteral("off");
    case KeyboardLayout::Itrans: return QStringLiteral("itrans");
    case KeyboardLayout::Kgp: break;
    }
    return QStringLiteral("kgp");
}

// A missing or unknown name (a settings file from a later version) keeps the default.
KeyboardLayout KannadaTyping::fromSettingsName(const QString& name)
{
    if (name == QLatin1String("off"))
        return KeyboardLayout::Off;
    if (name == QLatin1String("itrans"))
        return KeyboardLayout::Itrans;
    return KeyboardLayout::Kgp;
}

} // namespace varnel
