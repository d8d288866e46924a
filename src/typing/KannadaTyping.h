#pragma once

#include <QObject>
#include <QString>

#include "typing/KannadaKeyboard.h"

namespace varnel {

// The program's Kannada typing: which keyboard the text boxes use (chosen in the help menu and
// kept between runs), and the Scroll Lock switch that turns it off and on for every box, as the
// keyboard drivers of the typing offices did. The switch starts on at each run.
class KannadaTyping : public QObject {
    Q_OBJECT
public:
    static KannadaTyping& instance();

    // The chosen keyboard; KGP until the user chooses another.
    KeyboardLayout layout() const { return m_layout; }
    void setLayout(KeyboardLayout layout);

    bool isSwitchedOn() const { return m_switchedOn; }
    void setSwitchedOn(bool on);
    void toggle() { setSwitchedOn(!m_switchedOn); }

    // The keyboard the boxes type with now: Off while switched off.
    KeyboardLayout activeLayout() const { return m_switchedOn ? m_layout : KeyboardLayout::Off; }

    // How the choice is written in the settings file: "kgp", "itrans", "off".
    static QString settingsName(KeyboardLayout layout);
    static KeyboardLayout fromSettingsName(const QString& name);

signals:
    void changed();

private:
    KannadaTyping();

    KeyboardLayout m_layout = KeyboardLayout::Kgp;
    bool m_switchedOn = true;
};

} // namespace varnel
