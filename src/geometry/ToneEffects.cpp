#include "ToneEffects.h"

#include "Canvas.h"
#include "EffectRows.h"
#include "Error.h"
#include "ProgramRandom.h"

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace vermeo::geometry::effects {

void snow(QImage &img, int passes)
{
    // Every pass maps each channel alone, so the passes fold into one table.
    int t[256];
    for (int v = 0; v < 256; ++v)
        t[v] = v;
    for (int p = 0; p < passes; ++p)
        for (int &v : t)
            v = int(std::nearbyint(std::sin(v / 255.0 * std::numbers::pi / 2) * 255));
    mapChannels(img, ChannelMap::of([&t](int v) { return t[v]; }));
}

void medallion(QImage &img, int a)
{
    const int w = img.width(), h = img.height();
    // The ellipse as the drawing surface fills it, white on black; one byte a pixel is
    // enough for a mask, and a quarter of the memory to touch.
    QImage mask(w, h, QImage::Format_Grayscale8);
    if (mask.isNull())
        throw VermeoError(QStringLiteral("Mémoire insuffisante pour le médaillon."));
    mask.fill(0);
    {
        Canvas c(&mask);
        c.setPenColour(clWhite);
        c.setBrushColour(clWhite);
        c.Ellipse(0, 0, w - 1, h - 1);
    }
    const ChannelMap darker = ChannelMap::of([a](int v) { return v - a * v / 255; });
    forBandsInParallel(img.height(), 32, eachRow(img, [&](QRgb *row, int y) {
                           const uchar *m = mask.constScanLine(y);
                           for (int x = 0; x < w; ++x)
                               row[x] = m[x] == 0xFF ? darker(row[x]) : 0xFF000000u;
                       }));
}

void dominant(QImage &img, int channel, int factorHundredths)
{
    const ChannelMap kept =
        ChannelMap::of([factorHundredths](int v) { return int(std::nearbyint(double(factorHundredths) * v / 100.0)); });
    const int w = img.width();
    const int shift = 8 * channel;
    forBandsInParallel(img.height(), 32, eachRow(img, [&](QRgb *row, int) {
                           for (int x = 0; x < w; ++x)
                               row[x] = 0xFF000000u | (QRgb(kept.t[(row[x] >> shift) & 0xFFu]) << shift);
                       }));
}

void darken(QImage &img, int a)
{
    mapChannels(img, ChannelMap::of([a](int v) { return v - a * v / 255; }));
}

void colouredNoise(QImage &img, int a)
{
    const int w = img.width();
    const std::uint64_t base = ProgramRandom::reserve(std::uint64_t(w) * std::uint64_t(img.height()) * 3);
    const int half = a / 2;
    forBandsInParallel(img.height(), 32, eachRow(img, [&](QRgb *row, int y) {
                           std::uint64_t i = std::uint64_t(y) * std::uint64_t(w) * 3;
                           for (int x = 0; x < w; ++x, i += 3) {
                               const QRgb q = row[x];
                               const int b = clampChannel(blueOf(q) + ProgramRandom::drawAt(base, i, a) - half);
                               const int g = clampChannel(greenOf(q) + ProgramRandom::drawAt(base, i + 1, a) - half);
                               const int r = clampChannel(redOf(q) + ProgramRandom::drawAt(base, i + 2, a) - half);
                               row[x] = opaque(r, g, b);
                           }
                       }));
}

void monochromeNoise(QImage &img, int a)
{
    const int w = img.width();
    const std::uint64_t base = ProgramRandom::reserve(std::uint64_t(w) * std::uint64_t(img.height()));
    const int half = a / 2;
    forBandsInParallel(img.height(), 32, eachRow(img, [&](QRgb *row, int y) {
                           const std::uint64_t i0 = std::uint64_t(y) * std::uint64_t(w);
                           for (int x = 0; x < w; ++x) {
                               const int n = ProgramRandom::drawAt(base, i0 + std::uint64_t(x), a) - half;
                               const QRgb q = row[x];
                               row[x] = opaque(clampChannel(redOf(q) + n), clampChannel(greenOf(q) + n),
                                               clampChannel(blueOf(q) + n));
                           }
                       }));
}

void contrastEffect(QImage &img, int a)
{
    mapChannels(img, ChannelMap::of([a](int v) {
                    const int d = std::abs(127 - v) * a / 255;
                    return v > 127 ? v + d : v - d;
                }));
}

void brilliance(QImage &img, int a)
{
    mapChannels(img, ChannelMap::of([a](int v) { return v + a * (255 - v) / 255; }));
}

void saturationEffect(QImage &img, int a)
{
    // The result depends only on the channel and the pixel's mean: one 256 x 256 table.
    std::vector<std::uint8_t> table(256 * 256);
    for (int m = 0; m < 256; ++m)
        for (int v = 0; v < 256; ++v)
            table[size_t(m * 256 + v)] = std::uint8_t(clampChannel(m + a * (v - m) / 255));
    const std::uint8_t *t = table.data();
    const int w = img.width();
    forBandsInParallel(img.height(), 32, eachRow(img, [&](QRgb *row, int) {
                           for (int x = 0; x < w; ++x) {
                               const QRgb q = row[x];
                               const int r = redOf(q), g = greenOf(q), b = blueOf(q);
                               const std::uint8_t *tm = t + 256 * ((r + g + b) / 3);
                               row[x] = opaque(tm[r], tm[g], tm[b]);
                           }
                       }));
}

void invertEffect(QImage &img)
{
    const int w = img.width();
    forBandsInParallel(img.height(), 32, eachRow(img, [&](QRgb *row, int) {
                           for (int x = 0; x < w; ++x)
                               row[x] = (row[x] ^ 0x00FFFFFFu) | 0xFF000000u;
                       }));
}

} // namespace vermeo::geometry::effects
