#include "shell/KeyboardIndicator.h"

#include <QEvent>

#include "shell/Twips.h"
#include "typing/KannadaTyping.h"
#include "widgets/VarnelFonts.h"

using varnel::KannadaTyping;
using varnel::KeyboardLayout;

KeyboardIndicator::KeyboardIndicator(QWidget* strip) : QLabel(strip)
{
    setObjectName(QStringLiteral("KeyboardState"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(varnel::varnelFont(varnel::VarnelFont::Akshara02, 11));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setToolTip(QStringLiteral(u"Scroll Lock: ಕನ್ನಡ / ಇಂಗ್ಲಿಷ್ ಅಕ್ಷರಗಳು"));
    strip->installEventFilter(this);
    connect(&KannadaTyping::instance(), &KannadaTyping::changed, this,
            &KeyboardIndicator::showState);
    showState();
    place();
}

QString KeyboardIndicator::layoutName(KeyboardLayout layout)
{
    switch (layout) {
    case KeyboardLayout::Kgp: return QStringLiteral(u"ಕೆಜಿಪಿ ಕೀಲಿಮಣೆ");
    case KeyboardLayout::Itrans: return QStringLiteral(u"ಲಿಪ್ಯಂತರ ಕೀಲಿಮಣೆ");
    case KeyboardLayout::Off: break;
    }
    return QStringLiteral(u"ಕನ್ನಡ ಕೀಲಿಮಣೆ ಬೇಡ");
}

QString KeyboardIndicator::textFor(KeyboardLayout active)
{
    switch (active) {
    case KeyboardLayout::Kgp: return QStringLiteral(u"ಕನ್ನಡ: ಕೆಜಿಪಿ");
    case KeyboardLayout::Itrans: return QStringLiteral(u"ಕನ್ನಡ: ಲಿಪ್ಯಂತರ");
    case KeyboardLayout::Off: break;
    }
    return QStringLiteral(u"ಇಂಗ್ಲಿಷ್ ಅಕ್ಷರಗಳು");
}

void KeyboardIndicator::showState()
{
    setText(textFor(KannadaTyping::instance().activeLayout()));
}

// At the strip's right end, 240 twips in, on the labels' line.
void KeyboardIndicator::place()
{
    const int width = tw(2880);
    setGeometry(parentWidget()->width() - width - tw(240), tw(90), width, tw(375));
}

bool KeyboardIndicator::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        place();
    return false;
}
