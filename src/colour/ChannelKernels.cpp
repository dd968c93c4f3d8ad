#include "ChannelKernels.h"
#include "Error.h"
#include "PixelPass.h"
#include "PixelRows.h"

#include <array>

#include <mutex>

namespace vermeo::colour {

QImage balance(const QImage &src, int red, int green, int blue, Progress &progress)
{
    const auto t = ChannelTables::build([red](int c) { return c + red; }, [green](int c) { return c + green; },
                                        [blue](int c) { return c + blue; });
    return mapPixels(src, progress, t);
}

namespace {
const char *const kOrders[6] = {"RVB", "BRV", "BVR", "VBR", "RBV", "VRB"};

// Shifts of the channel that feeds new red, green and blue in a QRgb (16 red, 8 green, 0 blue).
struct Sources {
    int r, g, b;
};
constexpr Sources kSources[6] = {{16, 8, 0}, {0, 16, 8}, {0, 8, 16}, {8, 0, 16}, {16, 0, 8}, {8, 16, 0}};
} // namespace

QString permutationName(int order)
{
    return order >= 1 && order <= 6 ? QString::fromLatin1(kOrders[order - 1]) : QString();
}

int permutationFromName(const QString &name)
{
    for (int i = 0; i < 6; ++i)
        if (name == QLatin1String(kOrders[i]))
            return i + 1;
    return 0;
}

QImage permute(const QImage &src, int order, Progress &progress)
{
    if (order < 1 || order > 6)
        throw VermeoError(QStringLiteral("Permutation inconnue : %1.").arg(order));
    const Sources s = kSources[order - 1];
    return mapPixels(src, progress, [s](QRgb q) {
        return 0xFF000000u | (((q >> s.r) & 0xFFu) << 16) | (((q >> s.g) & 0xFFu) << 8) | ((q >> s.b) & 0xFFu);
    });
}

QRect replaceColour(QImage &img, TColour from, TColour to, Progress &progress)
{
    if (img.format() != QImage::Format_RGB32)
        img = toWorkingImage(img);
    const int w = img.width(), h = img.height();
    const QRgb replacement = toQRgb(to);
    // A pixel's colour value has a zero top byte, so a `from` with flags in it matches nothing.
    const bool possible = (from >> 24) == 0;
    const QRgb target = toQRgb(from) & 0x00FFFFFFu;
    int left = w, right = -1, top = h, bottom = -1;
    std::mutex boundsLock;
    const auto rows = rowsOf(img);
    forBandsInParallel(
        h, kBandRows,
        [&](int y0, int y1) {
            if (!possible)
                return;
            int l = w, r = -1, t = h, b = -1;
            for (int y = y0; y < y1; ++y) {
                QRgb *p = rows[y];
                for (int x = 0; x < w; ++x) {
                    if ((p[x] & 0x00FFFFFFu) != target)
                        continue;
                    p[x] = replacement;
                    l = std::min(l, x);
                    r = std::max(r, x);
                    t = std::min(t, y);
                    b = std::max(b, y);
                }
            }
            const std::lock_guard<std::mutex> lock(boundsLock);
            left = std::min(left, l);
            right = std::max(right, r);
            top = std::min(top, t);
            bottom = std::max(bottom, b);
        },
        progressByColumns(progress, w, h));
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

QImage greyscale(const QImage &src, Progress &progress)
{
    std::array<QRgb, 766> grey{};
    for (int s = 0; s < 766; ++s)
        grey[size_t(s)] = opaque(s / 3, s / 3, s / 3);
    return mapPixels(src, progress, [&](QRgb q) { return grey[size_t(redOf(q) + greenOf(q) + blueOf(q))]; });
}

QImage invert(const QImage &src)
{
    return mapPixels(src, silentProgress(), [](QRgb q) { return (q ^ 0x00FFFFFFu) | 0xFF000000u; });
}

Picture monochrome(const QImage &src)
{
    const QImage bw = mapPixels(src, silentProgress(), [](QRgb q) -> QRgb {
        return redOf(q) + greenOf(q) + blueOf(q) >= 3 * 128 ? 0xFFFFFFFFu : 0xFF000000u;
    });
    return Picture::withPalette(bw, 1, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
}

} // namespace vermeo::colour
