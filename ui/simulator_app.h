#pragma once

#include <QApplication>

// The application: runs the main dialog modally and ends when it ends.
class CSimulatorApp : public QApplication {
    Q_OBJECT
public:
    CSimulatorApp(int& argc, char** argv);

    // Runs the main window on the program folder; the process exit code.
    int Run();
};
