#pragma once
#include <QByteArray>
#include <QImage>
#include <QList>

// A Windows .ico file holding several sizes of one picture: 32-bit bitmaps
// with their mask for the small sizes, PNG data for 256 x 256.
namespace iconfile {
QByteArray encode(const QList<QImage> &images);
}
