#pragma once

#include <QApplication>

// The application object. A failure that escapes any handler is caught here, shown in the
// message dialog, and the program goes on. The program ends only through shell::endProgram
// (never because its last window closed: the front screen closes before the main window
// opens).
class VelmoraApplication : public QApplication {
    Q_OBJECT
public:
    VelmoraApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
