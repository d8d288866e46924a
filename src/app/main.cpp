#include "app/WorkingWindows.h"
#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "platform/files/Leftovers.h"
#include "backup/ui/StartupBackup.h"
#include "legacy/ui/LegacyDiaryOffer.h"
#include "platform/varnel/KannadaDigits.h"
#include "publish/PublishState.h"
#include "shell/ProgramExit.h"
#include "shell/StatusLine.h"
#include "shell/VelmoraApplication.h"
#include "shell/frmfront.h"

int main(int argc, char** argv)
{
    VelmoraApplication app(argc, argv);
    shell::endProgramOnTerminationSignals();
    registerWorkingWindows();
    // When the phone calendar was last brought up to date, once publishing is set up.
    shell::setStatusLineSource([] {
        const std::optional<QDateTime> at = publish::lastPublished();
        return at ? QStringLiteral(u"ಫೋನ್ ಕ್ಯಾಲೆಂಡರ್ ಕೊನೆಯ ಬಾರಿ ನವೀಕರಿಸಿದ್ದು: %1")
                        .arg(varnel::kannadaDigits(
                            at->toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"))))
                  : QString();
    });
    // Temporary files of a program that was killed while writing go before anything else.
    files::removeLeftovers(data::diaryFolder());
    files::removeLeftovers(data::diaryFolder() + QStringLiteral("/backups"));
    // Installed system-wide: this user's own diary, private from its first start.
    data::prepareDiary();
    // A diary still in the old Jet format is offered for bringing over before anything opens it.
    const legacy::StartDecision start = legacy::offerLegacyImport();
    if (start == legacy::StartDecision::End)
        return 0;
    // Once a day a copy of the diary, before any window changes it; a failure is only told.
    backup::backupAtStart();
    if (start == legacy::StartDecision::NoLegacyDiary) {
        auto* front = new frmfront;
        front->show();
        front->activateWindow();
    }
    const int status = app.exec();
    // However the program ended, every window closes its diary connection here.
    shell::unloadAllWindows();
    return status;
}
