#include "app/WorkingWindows.h"
#include "shell/ProgramExit.h"
#include "shell/VelmoraApplication.h"
#include "shell/frmfront.h"

int main(int argc, char** argv)
{
    VelmoraApplication app(argc, argv);
    registerWorkingWindows();
    auto* front = new frmfront;
    front->show();
    front->activateWindow();
    const int status = app.exec();
    // However the program ended, every window closes its diary connection here.
    shell::unloadAllWindows();
    return status;
}
