#pragma once
#include <QString>

class MainWindow;
class QApplication;

// The application-wide settings: translations, fonts, accessibility roles,
// name, version and icon. Tests call it as well.
void prepareApplication(QApplication &app);

// Start-up: checks the clock, records the program folder, creates and
// shows the main window and returns it; null when the clock check ended
// the program.
MainWindow *startProgram();

// Sets up the application object, starts the program and runs the event
// loop. Returns the process exit code.
int runProgram(int argc, char *argv[]);

// The four-line warning shown when the clock says a year before 2004.
QString clockWarningText();
