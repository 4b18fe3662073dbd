#pragma once
#include "platform/Errors.h"

#include <QPixmap>
#include <QString>

// Loads a picture file: GIF and JPEG through Qt's image readers, Windows
// metafiles (.wmf) through our own reader, drawn at their natural size.
namespace pictures {
bool load(const QString &path, QPixmap *out, errors::Failure *failure = nullptr);
}
