#pragma once
#include <QString>

// The page file "\tem.htm": a short-lived plain copy of a document that a
// page viewer loads. The main window deletes it every few seconds; while a
// viewer has been told to load it and has not finished, it must stay.
namespace pagefile {
QString path();            // ProgramFolder + "\tem.htm"
void loadStarted();        // a viewer was told to load the page file
void loadFinished();       // that viewer has loaded it (or was closed first)
bool loadPending();
} // namespace pagefile
