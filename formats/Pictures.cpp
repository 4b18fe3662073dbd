#include "Pictures.h"

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/ProgramFiles.h"
#include "platform/ProgramFolder.h"
#include "wmf/Wmf.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QMutex>
#include <QPainter>

namespace pictures {
namespace {

bool fail(errors::Failure *failure, errors::Kind kind)
{
    if (failure)
        *failure = errors::Failure::of(kind);
    return false;
}

// Files that failed to load lately, by path.
class FailureMemo
{
public:
    // True, with the failure, when the file failed within the memo window
    // and has not changed since.
    bool recall(const QString &path, errors::Failure *failure)
    {
        QMutexLocker lock(&mutex_);
        const auto it = entries_.constFind(path);
        if (it == entries_.constEnd())
            return false;
        if (isRecent(it->at) && platform::fileStamp(path) == it->stamp) {
            if (failure)
                *failure = it->failure;
            return true;
        }
        entries_.erase(it);
        return false;
    }

    void remember(const QString &path, const platform::FileStamp &stamp, const errors::Failure &failure)
    {
        QMutexLocker lock(&mutex_);
        if (entries_.size() >= 64) { // only the program's own few pictures are ever loaded
            for (auto it = entries_.begin(); it != entries_.end();)
                it = isRecent(it->at) ? std::next(it) : entries_.erase(it);
        }
        entries_.insert(path, {hostclock::now().toMSecsSinceEpoch(), stamp, failure});
    }

private:
    struct Entry {
        qint64 at;
        platform::FileStamp stamp;
        errors::Failure failure;
    };

    // Within the memo window of the moment, by the system clock; a clock
    // set back counts as the window passed.
    static bool isRecent(qint64 atMs)
    {
        const qint64 age = hostclock::now().toMSecsSinceEpoch() - atMs;
        return age >= 0 && age < kFailureMemoMs;
    }

    QMutex mutex_;
    QHash<QString, Entry> entries_;
};

FailureMemo &failureMemo()
{
    static FailureMemo memo; // a process-wide cache: failed files are not read again at every tick
    return memo;
}

bool fits(const QSize &size)
{
    return size.width() <= kMaxWidth && size.height() <= kMaxHeight;
}

} // namespace

bool decode(const QByteArray &bytes, bool metafile, QImage *out, errors::Failure *failure)
{
    QImage image;
    if (metafile) {
        // The metafile reader keeps to the same largest size on its own.
        static_assert(wmf::Limits().maxWidth == kMaxWidth && wmf::Limits().maxHeight == kMaxHeight);
        image = wmf::render(bytes);
    } else {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setDecideFormatFromContent(true);
        reader.setAllocationLimit(kAllocationLimitMb);
        // The size from the header, before any pixel is decoded. When the
        // header tells nothing the allocation limit keeps decoding bounded
        // and the result is measured below.
        const QSize size = reader.size();
        if (size.isValid() && !fits(size))
            return fail(failure, errors::Kind::OutOfMemory);
        image = reader.read();
        if (!image.isNull() && !fits(image.size()))
            return fail(failure, errors::Kind::OutOfMemory);
    }
    if (image.isNull())
        return fail(failure, errors::Kind::InvalidPicture);
    *out = image;
    return true;
}

bool loadImage(const QString &path, QImage *out, errors::Failure *failure)
{
    FailureMemo &memo = failureMemo();
    if (memo.recall(path, failure))
        return false;
    const platform::FileStamp stamp = platform::fileStamp(path);
    errors::Failure why;
    QByteArray bytes;
    bool ok = platform::readRegularFile(path, kMaxFileBytes, &bytes, &why);
    if (ok) {
        const bool metafile = QFileInfo(path).suffix().compare(QLatin1String("wmf"), Qt::CaseInsensitive) == 0;
        ok = decode(bytes, metafile, out, &why);
    }
    if (!ok) {
        memo.remember(path, stamp, why);
        if (failure)
            *failure = why;
    }
    return ok;
}

bool loadShared(const QString &path, QPixmap *out, errors::Failure *failure)
{
    // Kept as images: a QImage may outlive the application object.
    static struct {
        QMutex mutex;
        QHash<QString, QImage> decoded;
    } shared; // a process-wide cache: each shared picture is decoded once per run
    const QMutexLocker lock(&shared.mutex);
    auto it = shared.decoded.constFind(path);
    if (it == shared.decoded.constEnd()) {
        QImage image;
        if (!loadImage(path, &image, failure))
            return false;
        it = shared.decoded.insert(path, image);
    }
    *out = QPixmap::fromImage(*it);
    return true;
}

bool loadGlobe(QPixmap *out)
{
    return loadShared(platform::programPath(platform::files::globe()), out);
}

void paintBackground(QPainter &painter, const QPixmap &picture)
{
    if (!picture.isNull())
        painter.drawPixmap(0, 0, picture);
}

bool load(const QString &path, QPixmap *out, errors::Failure *failure)
{
    QImage image;
    if (!loadImage(path, &image, failure))
        return false;
    *out = QPixmap::fromImage(image);
    return true;
}

} // namespace pictures
