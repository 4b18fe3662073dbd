#include "Pictures.h"

#include "wmf/Wmf.h"

#include <QFileInfo>
#include <QImageReader>

namespace pictures {

bool load(const QString &path, QPixmap *out, errors::Failure *failure)
{
    const QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile()) {
        if (failure)
            *failure = errors::Failure::of(errors::FileNotFound);
        return false;
    }
    QImage image;
    if (fi.suffix().compare(QLatin1String("wmf"), Qt::CaseInsensitive) == 0) {
        image = wmf::renderFile(path);
    } else {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        image = reader.read();
    }
    if (image.isNull()) {
        if (failure)
            *failure = errors::Failure::of(errors::InvalidPicture);
        return false;
    }
    *out = QPixmap::fromImage(image);
    return true;
}

} // namespace pictures
