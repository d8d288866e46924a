#include "app/WorkingWindows.h"
#include "shell/VelmoraApplication.h"
#include "shell/frmfront.h"

int main(int argc, char** argv)
{
    VelmoraApplication app(argc, argv);
    registerWorkingWindows();
    auto* front = new frmfront;
    front->show();
    front->activateWindow();
    return app.exec();
}
