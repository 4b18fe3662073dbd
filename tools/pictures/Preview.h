#pragma once
#include <QImage>
#include <QString>

// Pictures for judging the set by eye: each picture enlarged, and the three
// places the pictures appear (home panel, divination window, About box)
// put together with real widgets and grabbed.
namespace preview {

struct Set {
    QImage globe; // as the program's metafile reader draws globe.wmf (or the drawing itself)
    QImage emblem; // kvnda.gif as read back
    QImage frames[4];
    QImage blank, upper, middle, lower; // the piece JPEGs as read back
    QImage icon32, icon256, pointer;
};

// Writes the preview PNGs into `folder`; false with a message on failure.
bool write(const Set &set, const QString &folder, QString *message);

} // namespace preview
