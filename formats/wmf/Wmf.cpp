#include "Wmf.h"

#include "WmfParser.h"
#include "WmfPlayer.h"

#include <QFile>

namespace wmf {

using detail::Bytes;
using detail::Layout;

QSize naturalSize(const QByteArray &data)
{
    const Layout layout = detail::readLayout(Bytes::of(data), Limits());
    return layout.ok ? layout.size : QSize();
}

QImage render(const QByteArray &data)
{
    return render(data, Limits());
}

QImage render(const QByteArray &data, const Limits &limits, Report *report)
{
    if (report)
        *report = Report();
    if (data.size() > limits.maxFileBytes)
        return QImage();
    const Bytes file = Bytes::of(data);
    const Layout layout = detail::readLayout(file, limits);
    if (!layout.ok)
        return QImage();
    QImage image(layout.size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return QImage();
    image.fill(Qt::transparent);
    {
        detail::Player player(layout, limits, &image);
        int records = 0;
        detail::walkRecords(file, layout.recordsStart, limits.maxRecords, [&](quint16 function, const Bytes &p) {
            ++records;
            return player.play(function, p);
        });
        if (report) {
            report->records = records;
            report->work = player.budget().used();
            report->stoppedEarly = player.budget().spent();
            report->outOfTime = player.budget().outOfTime();
            report->aliasedFigures = player.aliasedFigures();
        }
    }
    return image;
}

} // namespace wmf
