#include "Wmf.h"

#include <QFile>

namespace wmf {
QImage render(const QByteArray &) { return QImage(); }
QImage renderFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QImage();
    return render(f.readAll());
}
} // namespace wmf
