#include "GifWriter.h"

#include <QHash>
#include <QMap>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <vector>

namespace gif {

namespace {

struct ColourCount {
    std::array<int, 3> c; // r, g, b
    qint64 count;
};

struct Box {
    int begin; // range in the colour list
    int end;
    int widestChannel = 0;
    int range = 0;
    qint64 population = 0;
};

void measure(const std::vector<ColourCount> &colours, Box &box)
{
    std::array<int, 3> lo {255, 255, 255};
    std::array<int, 3> hi {0, 0, 0};
    box.population = 0;
    for (int i = box.begin; i < box.end; ++i) {
        for (int ch = 0; ch < 3; ++ch) {
            lo[size_t(ch)] = std::min(lo[size_t(ch)], colours[size_t(i)].c[size_t(ch)]);
            hi[size_t(ch)] = std::max(hi[size_t(ch)], colours[size_t(i)].c[size_t(ch)]);
        }
        box.population += colours[size_t(i)].count;
    }
    // Green weighs most and blue least, roughly as the eye sees differences.
    static const int weight[3] = {3, 4, 2};
    box.range = -1;
    for (int ch = 0; ch < 3; ++ch) {
        const int r = (hi[size_t(ch)] - lo[size_t(ch)]) * weight[ch];
        if (r > box.range) {
            box.range = r;
            box.widestChannel = ch;
        }
    }
}

QList<QRgb> medianCut(std::vector<ColourCount> &colours, int wanted)
{
    std::vector<Box> boxes;
    Box all {0, int(colours.size())};
    measure(colours, all);
    boxes.push_back(all);
    while (int(boxes.size()) < wanted) {
        // Split the box whose spread, weighted by how many pixels it holds,
        // costs the most.
        int pick = -1;
        double worst = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            const Box &b = boxes[i];
            if (b.end - b.begin < 2 || b.range <= 0)
                continue;
            const double cost = double(b.range) * std::sqrt(double(b.population));
            if (cost > worst) {
                worst = cost;
                pick = int(i);
            }
        }
        if (pick < 0)
            break;
        Box b = boxes[size_t(pick)];
        const int ch = b.widestChannel;
        std::stable_sort(colours.begin() + b.begin, colours.begin() + b.end,
                         [ch](const ColourCount &x, const ColourCount &y) {
                             return x.c[size_t(ch)] < y.c[size_t(ch)];
                         });
        qint64 half = b.population / 2;
        int cut = b.begin + 1;
        qint64 seen = 0;
        for (int i = b.begin; i < b.end - 1; ++i) {
            seen += colours[size_t(i)].count;
            cut = i + 1;
            if (seen >= half)
                break;
        }
        Box left {b.begin, cut};
        Box right {cut, b.end};
        measure(colours, left);
        measure(colours, right);
        boxes[size_t(pick)] = left;
        boxes.push_back(right);
    }
    QList<QRgb> palette;
    for (const Box &b : boxes) {
        double sum[3] = {0, 0, 0};
        for (int i = b.begin; i < b.end; ++i)
            for (int ch = 0; ch < 3; ++ch)
                sum[ch] += double(colours[size_t(i)].c[size_t(ch)]) * double(colours[size_t(i)].count);
        const double n = double(std::max<qint64>(1, b.population));
        palette.append(qRgb(int(sum[0] / n + 0.5), int(sum[1] / n + 0.5), int(sum[2] / n + 0.5)));
    }
    return palette;
}

int nearest(const QList<QRgb> &palette, QRgb c)
{
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < palette.size(); ++i) {
        const int dr = qRed(palette[i]) - qRed(c);
        const int dg = qGreen(palette[i]) - qGreen(c);
        const int db = qBlue(palette[i]) - qBlue(c);
        const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

QRgb overMatte(QRgb c, QRgb matte)
{
    const int a = qAlpha(c);
    if (a == 255)
        return c | 0xff000000u;
    auto mix = [a](int fg, int bg) { return (fg * a + bg * (255 - a) + 127) / 255; };
    return qRgb(mix(qRed(c), qRed(matte)), mix(qGreen(c), qGreen(matte)), mix(qBlue(c), qBlue(matte)));
}

void putLe16(QByteArray &out, int v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

} // namespace

IndexedImage quantize(const QImage &source, QRgb matte)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    IndexedImage out;
    out.width = image.width();
    out.height = image.height();
    out.indices.resize(qsizetype(out.width) * out.height);

    QMap<QRgb, qint64> histogram; // ordered, so that every run picks the same palette
    bool anyTransparent = false;
    std::vector<QRgb> flat(size_t(out.width) * size_t(out.height));
    for (int y = 0; y < out.height; ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < out.width; ++x) {
            QRgb c = row[x];
            if (qAlpha(c) < 128) {
                anyTransparent = true;
                c = 0; // marks the transparent colour below
            } else {
                c = overMatte(c, matte);
                ++histogram[c];
            }
            flat[size_t(y) * size_t(out.width) + size_t(x)] = c;
        }
    }

    const int room = anyTransparent ? 255 : 256;
    QHash<QRgb, int> lookup;
    if (histogram.size() <= room) {
        for (auto it = histogram.cbegin(); it != histogram.cend(); ++it) {
            lookup.insert(it.key(), int(out.palette.size()));
            out.palette.append(it.key());
        }
    } else {
        std::vector<ColourCount> colours;
        colours.reserve(size_t(histogram.size()));
        for (auto it = histogram.cbegin(); it != histogram.cend(); ++it)
            colours.push_back({{qRed(it.key()), qGreen(it.key()), qBlue(it.key())}, it.value()});
        out.palette = medianCut(colours, room);
        for (auto it = histogram.cbegin(); it != histogram.cend(); ++it)
            lookup.insert(it.key(), nearest(out.palette, it.key()));
    }
    if (anyTransparent) {
        out.transparentIndex = int(out.palette.size());
        out.palette.append(matte | 0xff000000u); // what a viewer without transparency shows
    }
    for (size_t i = 0; i < flat.size(); ++i) {
        const QRgb c = flat[i];
        out.indices[qsizetype(i)] = char(c == 0 ? out.transparentIndex : lookup.value(c));
    }
    return out;
}

QByteArray lzwCompress(const QByteArray &indices, int minCodeSize)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    const int maxCodes = 4096;

    QByteArray out;
    quint32 bitBuffer = 0;
    int bitCount = 0;
    int codeSize = minCodeSize + 1;
    auto putCode = [&](int code) {
        bitBuffer |= quint32(code) << bitCount;
        bitCount += codeSize;
        while (bitCount >= 8) {
            out.append(char(bitBuffer & 0xff));
            bitBuffer >>= 8;
            bitCount -= 8;
        }
    };

    // The string table: child[code * 256 + symbol] is the code for the string
    // of `code` followed by `symbol`, or -1.
    std::vector<qint16> child(size_t(maxCodes) * 256, -1);
    int lastCode = endCode; // highest code in use
    auto reset = [&]() {
        std::fill(child.begin(), child.end(), qint16(-1));
        lastCode = endCode;
        codeSize = minCodeSize + 1;
    };

    putCode(clearCode);
    if (indices.isEmpty()) {
        putCode(endCode);
    } else {
        int current = quint8(indices.at(0));
        for (qsizetype i = 1; i < indices.size(); ++i) {
            const int symbol = quint8(indices.at(i));
            const qint16 next = child[size_t(current) * 256 + size_t(symbol)];
            if (next >= 0) {
                current = next;
                continue;
            }
            putCode(current);
            ++lastCode;
            child[size_t(current) * 256 + size_t(symbol)] = qint16(lastCode);
            // The reader learns each code one step after we make it, so the
            // code size grows once the code just made no longer fits.
            if (lastCode >= (1 << codeSize) && codeSize < 12)
                ++codeSize;
            if (lastCode == maxCodes - 1) {
                putCode(clearCode);
                reset();
            }
            current = symbol;
        }
        putCode(current);
        putCode(endCode);
    }
    if (bitCount > 0)
        out.append(char(bitBuffer & 0xff));
    return out;
}

QByteArray encode(const IndexedImage &image)
{
    QByteArray out("GIF89a");
    putLe16(out, image.width);
    putLe16(out, image.height);
    out.append(char(0xF7)); // global colour table of 256 entries, 8 bits per primary
    out.append(char(image.transparentIndex >= 0 ? image.transparentIndex : 0)); // background
    out.append(char(0)); // square pixels
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < image.palette.size() ? image.palette[i] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    if (image.transparentIndex >= 0) {
        // Graphic control extension: no disposal, no delay, transparent colour.
        out.append(char(0x21));
        out.append(char(0xF9));
        out.append(char(4));
        out.append(char(0x01));
        putLe16(out, 0);
        out.append(char(image.transparentIndex));
        out.append(char(0));
    }
    out.append(char(0x2C)); // image descriptor
    putLe16(out, 0);
    putLe16(out, 0);
    putLe16(out, image.width);
    putLe16(out, image.height);
    out.append(char(0)); // no local colour table, not interlaced

    const int minCodeSize = 8;
    out.append(char(minCodeSize));
    const QByteArray data = lzwCompress(image.indices, minCodeSize);
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - at);
        out.append(char(n));
        out.append(data.constData() + at, n);
    }
    out.append(char(0)); // block terminator
    out.append(char(0x3B)); // trailer
    return out;
}

} // namespace gif
