#pragma once
#include <QApplication>

// The program: prepares the process (profile, error boxes, the simulated
// station's port, the event numbers) and runs the main window; when the
// window closes, the program ends. There are no command-line options.
class CK52CONApp : public QApplication {
    Q_OBJECT

public:
    CK52CONApp(int& argc, char** argv);
    ~CK52CONApp() override;

    // Runs the main window modally and returns the program's exit code.
    int InitInstance();
};
