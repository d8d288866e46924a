// The start-up offer through the real question and message dialogs.
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "LegacyFixtures.h"
#include "ShellTestSupport.h"
#include "legacy/ui/LegacyDiaryOffer.h"
#include "shell/frmMDI.h"
#include "shell/frmmsg.h"
#include "shell/frmquestion.h"
#include "widgets/VarnelLabel.h"

namespace {

// Answers the dialogs of type T that come up, in turn, by clicking `button` in each; the texts
// they showed are collected.
template <typename T> class Answers {
public:
    explicit Answers(QList<const char*> buttons) : m_buttons(std::move(buttons))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!dialog || m_buttons.isEmpty())
                return;
            texts << dialog->Label1->text();
            dialog->template findChild<QPushButton*>(QLatin1String(m_buttons.takeFirst()))->click();
        });
        m_timer.start();
    }

    QStringList texts;

private:
    QList<const char*> m_buttons;
    QTimer m_timer;
};

} // namespace

class TestLegacyStartup : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { unloadMainWindows(); }
    void bringsTheDiaryOverOnYes();
    void changesNothingOnNo();
    void namesABadFile();
    void namesANewerJetFileWithoutAsking();
    void startsAsUsualWithoutAJetDiary();
};

void TestLegacyStartup::bringsTheDiaryOverOnYes()
{
    QTemporaryDir folder;
    const QByteArray jet = fixtures::jetFile(QStringLiteral("diary-jet3.mdb"));
    fixtures::writeFile(folder.filePath(QStringLiteral("tarnalist.mdb")), jet);
    Answers<frmquestion> question({"CmdYes"});
    Answers<frmmsg> summary({"Command1"});

    QCOMPARE(legacy::offerLegacyImport(folder.path()), legacy::StartDecision::Imported);

    QCOMPARE(question.texts.size(), 1);
    QVERIFY(question.texts[0].contains(QLatin1String("tarnalist.mdb")));
    QCOMPARE(summary.texts.size(), 1);
    QVERIFY2(summary.texts[0].contains(QStringLiteral(u"113")), qPrintable(summary.texts[0]));
    QVERIFY(summary.texts[0].contains(QLatin1String("Tarnalist-jet.mdb")));
    QCOMPARE(mainWindows().size(), 1);
    QVERIFY(mainWindows().first()->isVisible());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"Tarnalist-jet.mdb", "Tarnalist.mdb"}));
    QCOMPARE(fixtures::readFile(folder.filePath(QStringLiteral("Tarnalist-jet.mdb"))), jet);
    QCOMPARE(fixtures::diaryRows(folder.filePath(QStringLiteral("Tarnalist.mdb")),
                                 QStringLiteral("outstation")),
             fixtures::expectedRows(QStringLiteral("outstation")));
}

void TestLegacyStartup::changesNothingOnNo()
{
    QTemporaryDir folder;
    fixtures::writeFile(folder.filePath(QStringLiteral("Tarnalist.mdb")),
                        fixtures::jetFile(QStringLiteral("diary-jet4.mdb")));
    const auto before = fixtures::snapshot(folder.path());
    Answers<frmquestion> question({"CmdNo"});
    Answers<frmmsg> explanation({"Command1"});

    QCOMPARE(legacy::offerLegacyImport(folder.path()), legacy::StartDecision::End);

    QCOMPARE(question.texts.size(), 1);
    QCOMPARE(explanation.texts.size(), 1);
    QVERIFY(explanation.texts[0].contains(folder.filePath(QStringLiteral("Tarnalist.mdb"))));
    QVERIFY(mainWindows().isEmpty());
    QCOMPARE(fixtures::snapshot(folder.path()), before);
}

void TestLegacyStartup::namesABadFile()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    fixtures::writeFile(path, fixtures::jetFile(QStringLiteral("diary-jet4.mdb")).left(20000));
    const auto before = fixtures::snapshot(folder.path());
    Answers<frmquestion> question({"CmdYes"});
    Answers<frmmsg> failure({"Command1"});

    QCOMPARE(legacy::offerLegacyImport(folder.path()), legacy::StartDecision::End);

    QCOMPARE(failure.texts.size(), 1);
    QVERIFY2(failure.texts[0].contains(QStringLiteral("'%1'").arg(path)),
             qPrintable(failure.texts[0]));
    QVERIFY(mainWindows().isEmpty());
    QCOMPARE(fixtures::snapshot(folder.path()), before);
}

void TestLegacyStartup::namesANewerJetFileWithoutAsking()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    QByteArray newer = fixtures::jetFile(QStringLiteral("diary-jet4.mdb"));
    newer[0x14] = 2; // the version byte of a later Jet
    fixtures::writeFile(path, newer);
    const auto before = fixtures::snapshot(folder.path());
    Answers<frmquestion> question({"CmdYes"});
    Answers<frmmsg> notice({"Command1"});

    QCOMPARE(legacy::offerLegacyImport(folder.path()), legacy::StartDecision::End);

    QVERIFY(question.texts.isEmpty());
    QCOMPARE(notice.texts.size(), 1);
    QVERIFY2(notice.texts[0].contains(path), qPrintable(notice.texts[0]));
    QCOMPARE(fixtures::snapshot(folder.path()), before);
}

void TestLegacyStartup::startsAsUsualWithoutAJetDiary()
{
    QTemporaryDir folder;
    QCOMPARE(legacy::offerLegacyImport(folder.path()), legacy::StartDecision::NoLegacyDiary);
    fixtures::writeFile(folder.filePath(QStringLiteral("Tarnalist.mdb")), "not a diary at all");
    QCOMPARE(legacy::offerLegacyImport(folder.path()), legacy::StartDecision::NoLegacyDiary);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

QTEST_MAIN(TestLegacyStartup)
#include "tst_legacy_startup.moc"
