// Kannada typed through the program's keyboards (m17n's KGP and ITRANS maps) into real text
// boxes, key by key, as a typist types it.
#include <QInputMethodEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "typing/KannadaTyping.h"
#include "widgets/KannadaTypingBox.h"
#include "widgets/VarnelLineEdit.h"
#include "widgets/VarnelTextEdit.h"

using namespace varnel;

namespace {

// A one-line or a multi-line box, shown and focused, for the keys of one test row.
struct TypingBox {
    explicit TypingBox(bool multiLine)
    {
        if (multiLine)
            multi = new VarnelTextEdit;
        else
            line = new VarnelLineEdit;
        widget()->show();
        widget()->setFocus();
    }
    ~TypingBox() { delete widget(); }
    QWidget* widget() const
    {
        return line ? static_cast<QWidget*>(line) : static_cast<QWidget*>(multi);
    }
    QString shown() const { return line ? line->text() : multi->toPlainText(); }
    Encoded varnel() const { return line ? line->varnel() : multi->varnel(); }
    KannadaTypingBox* typing() const { return line ? line->typing() : multi->typing(); }

    VarnelLineEdit* line = nullptr;
    VarnelTextEdit* multi = nullptr;
};

void sendSystemInput(QWidget* box, const QString& commit, const QString& preedit = {})
{
    QInputMethodEvent event(preedit, {});
    event.setCommitString(commit);
    QCoreApplication::sendEvent(box, &event);
}

} // namespace

class TestKannadaTyping : public QObject {
    Q_OBJECT
private slots:
    void init();
    void kgp_data();
    void kgp() { typeWords(KeyboardLayout::Kgp); }
    void itrans_data();
    void itrans() { typeWords(KeyboardLayout::Itrans); }
    void backspaceEditsTheComposition_data();
    void backspaceEditsTheComposition();
    void compositionFinishesWhenTheBoxIsLeftOrRead();
    void scrollLockSwitchesTypingOffAndOn();
    void systemInputMethodTextPassesUntouched();
    void layoutChoiceIsKept();

private:
    void typeWords(KeyboardLayout layout);
};

void TestKannadaTyping::init()
{
    KannadaTyping::instance().setSwitchedOn(true);
    KannadaTyping::instance().setLayout(KeyboardLayout::Kgp);
}

// Keys as typed (one ASCII character each), the Kannada m17n's map makes of them.
void TestKannadaTyping::kgp_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("kannada");
    QTest::addColumn<bool>("multiLine");
    const struct {
        const char* keys;
        const char16_t* kannada;
    } rows[] = {
        {"k", u"ಕ"},
        {"K", u"ಖ"},
        {"knfnw", u"ಕನ್ನಡ"},       // a doubled consonant
        {"krfnAqk", u"ಕರ್ನಾಟಕ"},   // reph
        {"beMgLUru", u"ಬೆಂಗಳೂರು"}, // vowel signs and anusvara
        {"mYsUru", u"ಮೈಸೂರು"},
        {"kArfykfrm", u"ಕಾರ್ಯಕ್ರಮ"}, // reph, then a subscript ra
        {"sfTLIy", u"ಸ್ಥಳೀಯ"},
        {"pfrvAs", u"ಪ್ರವಾಸ"},
        {"dinAMk", u"ದಿನಾಂಕ"},
        {"DrfmsfTL", u"ಧರ್ಮಸ್ಥಳ"},
        {"dUrvANi", u"ದೂರವಾಣಿ"},
        {"hubfbLfLi", u"ಹುಬ್ಬಳ್ಳಿ"},
        {"kRxfN", u"ಕೃಷ್ಣ"},
        {"jfzAn", u"ಜ್ಞಾನ"},
        {"sVD", u"ಸೌಧ"},
        {"uwupi 19", u"ಉಡುಪಿ ೧೯"},          // a space and digits pass the composition on
        {"knfnw dinAMk.", u"ಕನ್ನಡ ದಿನಾಂಕ."}, // no key lost or doubled around punctuation
    };
    bool multi = false;
    for (const auto& row : rows) {
        QTest::addRow("%s", row.keys)
            << QString::fromLatin1(row.keys) << QString::fromUtf16(row.kannada) << multi;
        multi = !multi;
    }
}

void TestKannadaTyping::itrans_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("kannada");
    QTest::addColumn<bool>("multiLine");
    QTest::newRow("kannaDa") << "kannaDa" << u"ಕನ್ನಡ"_qs << false;
    QTest::newRow("karnATaka") << "karnATaka" << u"ಕರ್ನಾಟಕ"_qs << true;
    QTest::newRow("kAryakrama") << "kAryakrama" << u"ಕಾರ್ಯಕ್ರಮ"_qs << false;
    QTest::newRow("shrI kRRiShNa") << "shrI kRRiShNa" << u"ಶ್ರೀ ಕೃಷ್ಣ"_qs << true;
    QTest::newRow("dharmasthaLa") << "dharmasthaLa" << u"ಧರ್ಮಸ್ಥಳ"_qs << false;
}

void TestKannadaTyping::typeWords(KeyboardLayout layout)
{
    QFETCH(QString, keys);
    QFETCH(QString, kannada);
    QFETCH(bool, multiLine);
    KannadaTyping::instance().setLayout(layout);
    TypingBox box(multiLine);
    QTest::keyClicks(box.widget(), keys);
    // Reading the box finishes the last word, as a click on Save does.
    const Encoded stored = box.varnel();
    QVERIFY(stored.ok());
    QCOMPARE(box.shown(), kannada);
    QCOMPARE(stored.bytes, encode(kannada).bytes);
    QVERIFY(!box.typing()->isComposing());
}

void TestKannadaTyping::backspaceEditsTheComposition_data()
{
    QTest::addColumn<bool>("multiLine");
    QTest::newRow("line") << false;
    QTest::newRow("multi") << true;
}

void TestKannadaTyping::backspaceEditsTheComposition()
{
    QFETCH(bool, multiLine);
    TypingBox box(multiLine);
    QTest::keyClicks(box.widget(), QStringLiteral("s kA"));
    // The word being typed is a composition: shown, not yet in the text.
    QCOMPARE(box.typing()->composition(), u"ಕಾ"_qs);
    QCOMPARE(box.shown(), u"ಸ "_qs);
    QTest::keyClick(box.widget(), Qt::Key_Backspace);
    QCOMPARE(box.typing()->composition(), u"ಕ"_qs);
    QTest::keyClick(box.widget(), Qt::Key_Backspace);
    QCOMPARE(box.typing()->composition(), QString());
    QCOMPARE(box.shown(), u"ಸ "_qs);
    // With nothing composing, Backspace deletes from the text as it always did.
    QTest::keyClick(box.widget(), Qt::Key_Backspace);
    QCOMPARE(box.shown(), u"ಸ"_qs);
    QTest::keyClicks(box.widget(), QStringLiteral("i"));
    QCOMPARE(box.varnel().bytes, encode(u"ಸಇ").bytes);
}

void TestKannadaTyping::compositionFinishesWhenTheBoxIsLeftOrRead()
{
    TypingBox box(false);
    VarnelLineEdit other;
    other.show();
    QTest::keyClicks(box.widget(), QStringLiteral("kA"));
    QTest::keyClick(box.widget(), Qt::Key_Left); // a key the map does not use
    QCOMPARE(box.shown(), u"ಕಾ"_qs);
    QCOMPARE(box.line->cursorPosition(), 0); // before the whole syllable

    box.line->end(false);
    QTest::keyClicks(box.widget(), QStringLiteral("m"));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(box.widget(), &out);
    QCOMPARE(box.shown(), u"ಕಾಮ"_qs);

    // A new text for the box drops a composition instead of adding it to the new text.
    QTest::keyClicks(box.widget(), QStringLiteral("n"));
    box.line->setVarnel(QByteArray("\xA4"));
    QCOMPARE(box.varnel().bytes, QByteArray("\xA4"));
    QVERIFY(!box.typing()->isComposing());
}

void TestKannadaTyping::scrollLockSwitchesTypingOffAndOn()
{
    TypingBox box(true);
    QTest::keyClicks(box.widget(), QStringLiteral("k"));
    QTest::keyClick(box.widget(), Qt::Key_ScrollLock);
    QVERIFY(!KannadaTyping::instance().isSwitchedOn());
    QCOMPARE(KannadaTyping::instance().activeLayout(), KeyboardLayout::Off);
    QTest::keyClicks(box.widget(), QStringLiteral("ka"));
    QTest::keyClick(box.widget(), Qt::Key_ScrollLock);
    QVERIFY(KannadaTyping::instance().isSwitchedOn());
    QTest::keyClicks(box.widget(), QStringLiteral("k"));
    QCOMPARE(box.multi->toPlainText() + box.typing()->composition(), u"ಕkaಕ"_qs);

    // A layout of Off chosen in the menu passes keys through the same way.
    KannadaTyping::instance().setLayout(KeyboardLayout::Off);
    QTest::keyClicks(box.widget(), QStringLiteral("b"));
    QCOMPARE(box.shown(), u"ಕkaಕb"_qs);
}

void TestKannadaTyping::systemInputMethodTextPassesUntouched()
{
    TypingBox box(false);
    QTest::keyClicks(box.widget(), QStringLiteral("k"));
    // Our word is finished first, the system's text follows it exactly as sent.
    sendSystemInput(box.widget(), u"ಸ\u0CCDಕ"_qs);
    QCOMPARE(box.shown(), u"ಕಸ\u0CCDಕ"_qs);
    // While the system input method composes, the keys are its own.
    sendSystemInput(box.widget(), {}, u"ಮ"_qs);
    QTest::keyClicks(box.widget(), QStringLiteral("r"));
    QVERIFY(!box.typing()->isComposing());
    sendSystemInput(box.widget(), u"ಮ"_qs);
    QTest::keyClicks(box.widget(), QStringLiteral("r"));
    QCOMPARE(box.typing()->composition(), u"ರ"_qs);
}

void TestKannadaTyping::layoutChoiceIsKept()
{
    KannadaTyping& typing = KannadaTyping::instance();
    QSignalSpy changes(&typing, &KannadaTyping::changed);
    typing.setLayout(KeyboardLayout::Itrans);
    QCOMPARE(changes.count(), 1);
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velmora"),
                       QStringLiteral("Velmora"));
    QCOMPARE(settings.value(QStringLiteral("keyboard/layout")).toString(), u"itrans"_qs);
    for (KeyboardLayout l : {KeyboardLayout::Off, KeyboardLayout::Kgp, KeyboardLayout::Itrans})
        QCOMPARE(KannadaTyping::fromSettingsName(KannadaTyping::settingsName(l)), l);
    QCOMPARE(KannadaTyping::fromSettingsName(u"dvorak"_qs), KeyboardLayout::Kgp);
}

int main(int argc, char** argv)
{
    // The layout choice is written to a settings file of the test's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestKannadaTyping test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_kannada_typing.moc"
