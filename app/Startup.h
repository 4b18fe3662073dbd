#pragma once

// Sets up the application object (translations, fonts, version), runs Main
// and the event loop. Returns the process exit code.
int runProgram(int argc, char *argv[]);

// The application-wide settings that tests need as well.
class QApplication;
void prepareApplication(QApplication &app);
