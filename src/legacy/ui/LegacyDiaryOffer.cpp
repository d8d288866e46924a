#include "legacy/ui/LegacyDiaryOffer.h"

#include <QFileInfo>
#include <QProgressDialog>

#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "legacy/JetHeader.h"
#include "legacy/LegacyError.h"
#include "legacy/LegacyImport.h"
#include "shell/BusyPointer.h"
#include "shell/frmMDI.h"
#include "shell/frmmsg.h"
#include "shell/frmquestion.h"
#include "widgets/VarnelLabel.h"

namespace legacy {

namespace {

bool askToBringOver(const QString& fileName)
{
    frmquestion::msg_Value = false;
    frmquestion dialog;
    dialog.Label1->setText(QStringLiteral(u"ದಿನಚರಿಯ ಕಡತ %1 ಹಳೆಯ Jet (.mdb) ರೂಪದಲ್ಲಿದೆ. ಅದರ ದಾಖಲೆಗಳನ್ನು ಹೊಸ "
                                          u"ದಿನಚರಿಗೆ ತರಬೇಕೆ? ಹಳೆಯ ಕಡತವನ್ನು ಬದಲಿಸದೆ ಪಕ್ಕದಲ್ಲೇ ಉಳಿಸಲಾಗುವುದು.")
                               .arg(fileName));
    dialog.growToFitText();
    dialog.exec();
    return frmquestion::msg_Value;
}

// Shows the share of the work done, repainting only when it moved by a percent.
class ImportProgressDialog {
public:
    ImportProgressDialog()
        : m_dialog(QStringLiteral(u"ಹಳೆಯ ದಿನಚರಿಯ ದಾಖಲೆಗಳನ್ನು ತರಲಾಗುತ್ತಿದೆ…"), QString(), 0, 100)
    {
        m_dialog.setWindowTitle(QStringLiteral("-"));
        m_dialog.setWindowModality(Qt::ApplicationModal);
        m_dialog.setCancelButton(nullptr);
        m_dialog.setAutoClose(false);
        m_dialog.setMinimumDuration(500);
        m_dialog.setValue(0);
    }

    void update(int done, int total)
    {
        const int percent = total > 0 ? int(qint64(done) * 100 / total) : 0;
        if (percent != m_dialog.value())
            m_dialog.setValue(percent);
    }

private:
    QProgressDialog m_dialog;
};

void openMainWindow()
{
    BusyPointer busy;
    auto* main = frmMDI::instance() ? frmMDI::instance() : new frmMDI;
    main->show();
}

} // namespace

StartDecision offerLegacyImport(const QString& folder)
{
    const QString jetFile = legacyDiaryIn(folder);
    if (jetFile.isEmpty())
        return StartDecision::NoLegacyDiary;
    if (readJetHeader(jetFile).kind == JetHeader::Kind::NewerJet) {
        // Nothing to offer: say so before asking anything.
        frmmsg::showText(QStringLiteral(u"ದಿನಚರಿಯ ಕಡತ %1 Jet ನ ಹೊಸ ಆವೃತ್ತಿಯಲ್ಲಿದೆ; ಅದರ "
                                        u"ದಾಖಲೆಗಳನ್ನು ತರಲಾಗದು. ಕಡತವನ್ನು ಬದಲಿಸಿಲ್ಲ.")
                             .arg(jetFile));
        return StartDecision::End;
    }
    if (!askToBringOver(QFileInfo(jetFile).fileName())) {
        frmmsg::showText(QStringLiteral(u"ಈ ಕಾರ್ಯಕ್ರಮವು ಹಳೆಯ Jet ರೂಪದ ದಿನಚರಿಯೊಂದಿಗೆ ಕೆಲಸ "
                                        u"ಮಾಡಲಾರದು. ಕಡತ %1 ಅನ್ನು ಬದಲಿಸಿಲ್ಲ. ದಾಖಲೆಗಳನ್ನು ತರಲು "
                                        u"ಕಾರ್ಯಕ್ರಮವನ್ನು ಮತ್ತೆ ತೆರೆದು ಹೌದು ಒತ್ತಿ.")
                             .arg(jetFile));
        return StartDecision::End;
    }
    ImportSummary summary;
    try {
        ImportProgressDialog progress;
        summary = importInPlace(jetFile, QStringLiteral("Tarnalist.mdb"),
                                [&progress](int done, int total) { progress.update(done, total); });
    } catch (const std::exception& error) {
        const auto* refusal = dynamic_cast<const LegacyError*>(&error);
        frmmsg::showText(QStringLiteral(u"ಹಳೆಯ ದಿನಚರಿಯ ದಾಖಲೆಗಳನ್ನು ತರಲಾಗಲಿಲ್ಲ. ಯಾವ ಕಡತವನ್ನೂ "
                                        u"ಬದಲಿಸಿಲ್ಲ.\n\n%1")
                             .arg(refusal ? refusal->text() : QString::fromUtf8(error.what())));
        return StartDecision::End;
    }
    frmmsg::showText(summaryKannada(summary));
    openMainWindow();
    return StartDecision::Imported;
}

StartDecision offerLegacyImport()
{
    return offerLegacyImport(data::diaryFolder());
}

} // namespace legacy
