#pragma once

#include <memory>

#include <QObject>
#include <QString>

#include "typing/KannadaKeyboard.h"

class QKeyEvent;
class QWidget;

namespace varnel {

// Kannada typing inside one text box: keys go through the program's keyboard (KannadaTyping)
// and reach the box as input method events, the composition underlined, finished text
// committed, so the box takes them exactly as it takes text from a system input method. Keys the
// keyboard does not use reach the box after the composition is finished. A system input method
// (IBus) that sends its own text is let through untouched, and while it composes in the box the
// keys are left to it. Scroll Lock in the box switches Kannada typing off and on.
class KannadaTypingBox : public QObject {
    Q_OBJECT
public:
    // `mouseArea`: the widget the box's clicks land on (a multi-line box's viewport).
    KannadaTypingBox(QWidget* box, QWidget* mouseArea);
    ~KannadaTypingBox() override;

    bool isComposing() const { return !m_shownPreedit.isEmpty(); }
    QString composition() const { return m_shownPreedit; }
    // Puts the composition into the box as finished text.
    void finish();
    // Drops the composition (the box is given a new text).
    void discard();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPress(QKeyEvent* event);
    // The keyboard of the layout in force, or nullptr when typing passes keys through.
    KannadaKeyboard* keyboard();
    void show(const TypedKey& typed);
    void layoutChanged();

    QWidget* m_box;
    std::unique_ptr<KannadaKeyboard> m_keyboard;
    QString m_shownPreedit;
    bool m_sending = false;
    bool m_systemComposing = false;
};

} // namespace varnel
