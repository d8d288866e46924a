#include <QClipboard>
#include <QFontInfo>
#include <QGlyphRun>
#include <QInputMethodEvent>
#include <QRawFont>
#include <QTextLayout>
#include <QtTest>

#include "VarnelTestData.h"
#include "widgets/VarnelFonts.h"
#include "widgets/VarnelLabel.h"
#include "widgets/VarnelLineEdit.h"
#include "widgets/VarnelTextEdit.h"

using namespace varnel;

class TestVarnelWidgets : public QObject {
    Q_OBJECT
private slots:
    void labelShowsKannada_data();
    void labelShowsKannada();
    void untouchedTextGivesBackItsBytes_data();
    void untouchedTextGivesBackItsBytes();
    void typedKannadaIsEncoded_data();
    void typedKannadaIsEncoded();
    void preeditChangesNothingUntilCommitted_data();
    void preeditChangesNothingUntilCommitted();
    void latinLettersAreRefused_data();
    void latinLettersAreRefused();
    void pastedKannadaIsEncoded_data();
    void pastedKannadaIsEncoded();
    void selectionWorksOnShownText_data();
    void selectionWorksOnShownText();
    void multiLineTextKeepsItsLineBreaks();
    void oneLineBoxStoresWhatItShows_data();
    void oneLineBoxStoresWhatItShows();
    void tabMovesTheFocusFromEveryBox_data();
    void tabMovesTheFocusFromEveryBox();
    void fontRolesUseInstalledFaces_data();
    void fontRolesUseInstalledFaces();
    void fontNamesFindTheirRole_data();
    void fontNamesFindTheirRole();
    void captionsShapeWithoutBrokenClusters_data();
    void captionsShapeWithoutBrokenClusters();
};

namespace {

// The one-line and the multi-line box share their API; each test runs on both.
enum class Box { Line, Multi };

void addBoxColumn()
{
    QTest::addColumn<Box>("box");
}

class AnyBox {
public:
    explicit AnyBox(Box kind)
    {
        if (kind == Box::Line)
            m_line = new VarnelLineEdit;
        else
            m_multi = new VarnelTextEdit;
        widget()->show();
        widget()->setFocus();
    }
    ~AnyBox() { delete widget(); }
    AnyBox(const AnyBox&) = delete;
    AnyBox& operator=(const AnyBox&) = delete;

    QWidget* widget() const
    {
        return m_line ? static_cast<QWidget*>(m_line) : static_cast<QWidget*>(m_multi);
    }
    void setVarnel(const QByteArray& b) { m_line ? m_line->setVarnel(b) : m_multi->setVarnel(b); }
    Encoded varnel() const { return m_line ? m_line->varnel() : m_multi->varnel(); }
    QString shown() const { return m_line ? m_line->text() : m_multi->toPlainText(); }
    int selStart() const { return m_line ? m_line->SelStart() : m_multi->SelStart(); }
    int selLength() const { return m_line ? m_line->SelLength() : m_multi->SelLength(); }
    void setSelStart(int s) { m_line ? m_line->setSelStart(s) : m_multi->setSelStart(s); }
    void setSelLength(int n) { m_line ? m_line->setSelLength(n) : m_multi->setSelLength(n); }
    QString selectedText() const
    {
        return m_line ? m_line->selectedText() : m_multi->textCursor().selectedText();
    }
    void paste() { m_line ? m_line->paste() : m_multi->paste(); }
    void moveToEnd() { setSelStart(int(shown().size())); }

    // What an input method (IBus and the like) sends: a commit, optionally after a preedit.
    void commit(const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(widget(), &event);
    }
    void preedit(const QString& text)
    {
        QInputMethodEvent event(text, {});
        QCoreApplication::sendEvent(widget(), &event);
    }

private:
    VarnelLineEdit* m_line = nullptr;
    VarnelTextEdit* m_multi = nullptr;
};

const QByteArray kannadaBytes("\xA2\xA3\xC1\x41\x50\xC0"); // ದಿನಾಂಕ

} // namespace

void TestVarnelWidgets::labelShowsKannada_data()
{
    QTest::addColumn<QByteArray>("caption");
    QTest::addColumn<QString>("shown");
    QTest::newRow("caption") << kannadaBytes << QStringLiteral("ದಿನಾಂಕ");
    // '<' and '&' are plain punctuation in Varnel text, never markup or a mnemonic.
    QTest::newRow("markup characters") << QByteArray("<\xA2> &\xB9;") << QStringLiteral("<ದಿ> &ಸಿ;");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestVarnelWidgets::labelShowsKannada()
{
    QFETCH(QByteArray, caption);
    QFETCH(QString, shown);
    VarnelLabel label(caption);
    QCOMPARE(label.text(), shown);
    QCOMPARE(label.caption(), caption);
    QCOMPARE(label.textFormat(), Qt::PlainText);
    label.setCaption("\x50\xC0");
    QCOMPARE(label.text(), QStringLiteral("ಕ"));
}

void TestVarnelWidgets::untouchedTextGivesBackItsBytes_data()
{
    addBoxColumn();
    QTest::addColumn<QByteArray>("stored");
    for (Box box : {Box::Line, Box::Multi}) {
        const char* kind = box == Box::Line ? "line" : "multi";
        QTest::addRow("%s canonical", kind) << box << kannadaBytes;
        // Spellings the encoder would write differently, and bytes it would never write.
        QTest::addRow("%s variant spelling", kind) << box << QByteArray("\xA5\xC0\xC5\x0iÀÄ");
        QTest::addRow("%s unknown glyphs", kind) << box << QByteArray("\x50\xFF\xC0\xF6\x81");
        QTest::addRow("%s refusable decoding", kind) << box << QByteArray("\xBE\xC1\xF3");
        QTest::addRow("%s empty", kind) << box << QByteArray();
    }
}

void TestVarnelWidgets::untouchedTextGivesBackItsBytes()
{
    QFETCH(Box, box);
    QFETCH(QByteArray, stored);
    AnyBox b(box);
    b.setVarnel(stored);
    QCOMPARE(b.shown(), decode(stored));
    Encoded e = b.varnel();
    QVERIFY(e.ok());
    QCOMPARE(e.bytes, stored);

    // Changed and changed back is untouched too.
    b.moveToEnd();
    b.commit(QStringLiteral("ಕ"));
    QVERIFY(b.varnel().bytes != stored);
    QTest::keyClick(b.widget(), Qt::Key_Backspace);
    e = b.varnel();
    QVERIFY(e.ok());
    QCOMPARE(e.bytes, stored);
}

void TestVarnelWidgets::typedKannadaIsEncoded_data()
{
    addBoxColumn();
    QTest::newRow("line") << Box::Line;
    QTest::newRow("multi") << Box::Multi;
}

void TestVarnelWidgets::typedKannadaIsEncoded()
{
    QFETCH(Box, box);
    AnyBox b(box);
    b.setVarnel(kannadaBytes);
    b.moveToEnd();
    b.commit(QStringLiteral(" ಸಮಯ"));
    // Decomposed input is normalised before encoding.
    b.commit(QStringLiteral(" ಹ\u0CC6\u0CC2ಸ"));
    const Encoded e = b.varnel();
    QVERIFY(e.ok());
    QCOMPARE(e.bytes,
             kannadaBytes +
                 QByteArray("\x20\xB8\xC0\xAA\xC0\xC4\x41\x69\xC0\xC4\x20\xBA\xC9\xC6\xB8\xC0"));
}

void TestVarnelWidgets::preeditChangesNothingUntilCommitted_data()
{
    typedKannadaIsEncoded_data();
}

void TestVarnelWidgets::preeditChangesNothingUntilCommitted()
{
    QFETCH(Box, box);
    AnyBox b(box);
    b.setVarnel(kannadaBytes);
    b.moveToEnd();
    b.preedit(QStringLiteral("ಕ"));
    QCOMPARE(b.varnel().bytes, kannadaBytes);
    b.commit(QStringLiteral("ಕ್ಕ"));
    QCOMPARE(b.varnel().bytes, kannadaBytes + QByteArray("\x50\xC0\xCC"));
}

void TestVarnelWidgets::latinLettersAreRefused_data()
{
    typedKannadaIsEncoded_data();
}

void TestVarnelWidgets::latinLettersAreRefused()
{
    QFETCH(Box, box);
    AnyBox b(box);
    b.setVarnel(kannadaBytes);
    b.moveToEnd();
    // Latin keys reach the box with Kannada typing switched off (Scroll Lock).
    QTest::keyClick(b.widget(), Qt::Key_ScrollLock);
    QTest::keyClicks(b.widget(), QStringLiteral(" Ab"));
    QTest::keyClick(b.widget(), Qt::Key_ScrollLock);
    const Encoded e = b.varnel();
    QVERIFY(!e.ok());
    QCOMPARE(e.refusals, (QList<Refusal>{{7, U'A'}, {8, U'b'}}));
    // The box keeps what the user typed; the caller refuses to save.
    QCOMPARE(b.shown(), QStringLiteral("ದಿನಾಂಕ Ab"));
    QVERIFY(refusalMessage(e.refusals).contains(QStringLiteral("«A»")));
}

void TestVarnelWidgets::pastedKannadaIsEncoded_data()
{
    typedKannadaIsEncoded_data();
}

void TestVarnelWidgets::pastedKannadaIsEncoded()
{
    QFETCH(Box, box);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("ಕನ್ನಡ"));
    if (clipboard->text() != QStringLiteral("ಕನ್ನಡ"))
        QSKIP("this platform has no clipboard");
    AnyBox b(box);
    b.paste();
    const Encoded e = b.varnel();
    QVERIFY(e.ok());
    QCOMPARE(e.bytes, QByteArray("\x50\xC0\xA3\xC0\xDF\x71\xC0"));
}

void TestVarnelWidgets::selectionWorksOnShownText_data()
{
    typedKannadaIsEncoded_data();
}

// Positions count characters of the Kannada shown, not bytes: ಸ್ಥಳೀಯ is 6 characters from
// 9 bytes.
void TestVarnelWidgets::selectionWorksOnShownText()
{
    QFETCH(Box, box);
    AnyBox b(box);
    b.setVarnel(QByteArray("\xB8\xC0\xDC\xBD\xC3\x41\x69\xC0\xC4")); // ಸ್ಥಳೀಯ
    b.setSelStart(0);
    b.setSelLength(3);
    QCOMPARE(b.selStart(), 0);
    QCOMPARE(b.selLength(), 3);
    QCOMPARE(b.selectedText(), QStringLiteral("ಸ್ಥ"));
    b.setSelStart(3);
    QCOMPARE(b.selLength(), 0); // moving the start clears the selection
    b.setSelLength(2);
    QCOMPARE(b.selectedText(), QStringLiteral("ಳೀ"));
    // Out-of-range values are clamped.
    b.setSelStart(100);
    QCOMPARE(b.selStart(), 6);
    b.setSelStart(-4);
    QCOMPARE(b.selStart(), 0);
    b.setSelLength(100);
    QCOMPARE(b.selLength(), 6);
    // Typing over the selection replaces it.
    b.setSelStart(0);
    b.setSelLength(3);
    b.commit(QStringLiteral("ಕ"));
    QCOMPARE(b.shown(), QStringLiteral("ಕಳೀಯ"));
}

void TestVarnelWidgets::multiLineTextKeepsItsLineBreaks()
{
    VarnelTextEdit edit;
    const QByteArray stored("\x50\xC0\x0D\x0A\x52"); // ಕ CR LF ಖ
    edit.setVarnel(stored);
    QCOMPARE(edit.toPlainText(), QStringLiteral("ಕ\nಖ"));
    QCOMPARE(edit.varnel().bytes, stored);
    edit.setSelStart(int(edit.toPlainText().size()));
    QTest::keyClick(&edit, Qt::Key_Return);
    edit.insertPlainText(QStringLiteral("ಗ"));
    QCOMPARE(edit.varnel().bytes, QByteArray("\x50\xC0\x0D\x0A\x52\x0D\x0A\x55\xC0"));
    QCOMPARE(edit.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void TestVarnelWidgets::oneLineBoxStoresWhatItShows_data()
{
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QByteArray>("stored");
    // Each break is drawn as one blank, so it is stored as one.
    QTest::newRow("line feed") << QStringLiteral("ಕ\nಖ") << QByteArray("\x50\xC0\x20\x52");
    QTest::newRow("cr lf") << QStringLiteral("ಕ\r\nಖ") << QByteArray("\x50\xC0\x20\x20\x52");
    QTest::newRow("line separator") << QStringLiteral("ಕ\u2028ಖ") << QByteArray("\x50\xC0\x20\x52");
    QTest::newRow("trailing break") << QStringLiteral("ಕ\n") << QByteArray("\x50\xC0\x20");
}

// A line break pasted into a one-line box is a blank on screen and in the file.
void TestVarnelWidgets::oneLineBoxStoresWhatItShows()
{
    QFETCH(QString, inserted);
    QFETCH(QByteArray, stored);
    VarnelLineEdit line;
    line.show();
    line.insert(inserted);
    QCOMPARE(line.varnel().bytes, stored);
    QCOMPARE(line.text(), decode(stored));

    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(inserted);
    if (clipboard->text() != inserted)
        QSKIP("this platform has no clipboard");
    line.clear();
    line.paste();
    QCOMPARE(line.varnel().bytes, stored);
}

void TestVarnelWidgets::tabMovesTheFocusFromEveryBox_data()
{
    typedKannadaIsEncoded_data();
}

// Tab and Shift+Tab go through the window's fields; a multi-line box takes no TAB character.
void TestVarnelWidgets::tabMovesTheFocusFromEveryBox()
{
    QFETCH(Box, box);
    QWidget window;
    auto* before = new QLineEdit(&window);
    AnyBox b(box);
    b.widget()->setParent(&window);
    auto* after = new QLineEdit(&window);
    b.setVarnel(kannadaBytes);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    b.widget()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(b.widget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), after);
    b.widget()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(b.widget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), before);
    QCOMPARE(b.varnel().bytes, kannadaBytes);
}

void TestVarnelWidgets::fontRolesUseInstalledFaces_data()
{
    QTest::addColumn<VarnelFont>("role");
    QTest::addColumn<QString>("family");
    QTest::newRow("body text") << VarnelFont::Akshara << QStringLiteral("Noto Sans Kannada");
    QTest::newRow("captions") << VarnelFont::Akshara02 << QStringLiteral("Lohit Kannada");
    QTest::newRow("titles") << VarnelFont::Akshara08 << QStringLiteral("Noto Serif Kannada");
}

// The faces come from Debian packages the set-up script installs; a missing one would silently
// fall back to some other face.
void TestVarnelWidgets::fontRolesUseInstalledFaces()
{
    QFETCH(VarnelFont, role);
    QFETCH(QString, family);
    const QFont font = varnelFont(role, 14.25, true);
    QCOMPARE(QFontInfo(font).family(), family);
    QVERIFY(font.bold());
    // Kannada stacks are tall: the face is drawn smaller than the documented size, never larger.
    QVERIFY(font.pointSizeF() < 14.25 && font.pointSizeF() > 10);
    QVERIFY(!varnelFont(role, 12).bold());
}

void TestVarnelWidgets::fontNamesFindTheirRole_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<VarnelFont>("role");
    QTest::newRow("body") << QStringLiteral("Varnel Akshara") << VarnelFont::Akshara;
    QTest::newRow("captions") << QStringLiteral("Varnel Akshara-02") << VarnelFont::Akshara02;
    QTest::newRow("titles") << QStringLiteral("Varnel Akshara-08") << VarnelFont::Akshara08;
    QTest::newRow("any case, blanks")
        << QStringLiteral(" varnel akshara-08 ") << VarnelFont::Akshara08;
    QTest::newRow("unknown name") << QStringLiteral("Arial") << VarnelFont::Akshara;
}

void TestVarnelWidgets::fontNamesFindTheirRole()
{
    QFETCH(QString, name);
    QFETCH(VarnelFont, role);
    QCOMPARE(varnelFont(name, 15.75), varnelFont(role, 15.75));
}

void TestVarnelWidgets::captionsShapeWithoutBrokenClusters_data()
{
    QTest::addColumn<VarnelFont>("role");
    QTest::addColumn<QString>("text");
    const QList<VarnelVector> vectors = loadVarnelVectors();
    for (VarnelFont role : {VarnelFont::Akshara, VarnelFont::Akshara02, VarnelFont::Akshara08})
        for (const VarnelVector& v : vectors)
            QTest::addRow("role %d: %d", int(role), v.number) << role << v.unicode;
    // ರ carrying a subjoined glyph (ZWJ) and a dead consonant kept apart (ZWNJ).
    QTest::newRow("ra with subjoined")
        << VarnelFont::Akshara << decode("\xB8\xCB\x50\xC0\x67\xC0\xE5");
    QTest::newRow("dead consonant")
        << VarnelFont::Akshara << decode("\xA7\xB8\xEF\xA3\xC0\xB0\xE8");
}

// A cluster the face cannot shape shows a dotted circle or an empty box: every caption must come
// out of its own face without either.
void TestVarnelWidgets::captionsShapeWithoutBrokenClusters()
{
    QFETCH(VarnelFont, role);
    QFETCH(QString, text);
    const QFont font = varnelFont(role, 14.25);
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const bool kannadaRun = raw.familyName() == QFontInfo(font).family();
        const QList<quint32> dottedCircle = raw.glyphIndexesForString(QStringLiteral("\u25CC"));
        for (quint32 glyph : run.glyphIndexes()) {
            QVERIFY2(glyph != 0, qPrintable(raw.familyName()));
            if (kannadaRun && !dottedCircle.isEmpty())
                QVERIFY2(glyph != dottedCircle.first(), qPrintable(text));
        }
    }
}

QTEST_MAIN(TestVarnelWidgets)
#include "tst_varnel_widgets.moc"
