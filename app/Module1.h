#pragma once
#include <QString>

class MDIForm1;

// The folder that holds the executable, without a trailing separator; set
// once at start-up.
extern QString ProgramFolder;
// The one main window.
extern MDIForm1 *MainWindow;

// Start-up: checks the clock, records the program folder, creates and shows
// the main window, and returns.
void Main();

// ProgramFolder followed by a program literal such as "\god\xwk\000.god",
// in the host's path form.
QString programPath(const QString &literal);

// The four-line warning shown when the clock says a year before 2004.
QString clockWarningText();
