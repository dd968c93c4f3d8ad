#include "ShadowGradient.h"
#include "Error.h"
#include "PixelPass.h"
#include "PixelRows.h"

#include <climits>
#include <cstring>
#include <vector>

namespace vermeo::colour {

namespace {
constexpr QRgb kBlack = 0xFF000000u;

inline bool dark(QRgb q) { return redOf(q) + greenOf(q) + blueOf(q) < 90; }
} // namespace

QImage shadow(const QImage &srcIn, int length, int side, Progress &progress)
{
    if (length < 1 || length > 10)
        throw VermeoError(QStringLiteral("La longueur de l'ombre doit être comprise entre 1 et 10."));
    if (side < Gauche || side > Bas)
        throw VermeoError(QStringLiteral("Côté de l'ombre inconnu : %1.").arg(side));
    const QImage src = toWorkingImage(srcIn);
    const int w = src.width(), h = src.height(), L = length;
    QImage out = newWorkingImage(w, h);
    const auto srcRows = rowsOf(src);
    const auto outRows = rowsOf(out);
    auto in = [&](int y) { return srcRows[y]; };
    auto dst = [&](int y) { return outRows[y]; };

    // Every pixel ends either as the source pixel or, when some dark pixel within L on
    // the far side casts onto it (and its whole shadow fits), black. The nearest such
    // dark pixel is carried along the scan, so each pixel is judged once.
    auto leftToRight = [w](int i) { return int((long long)i * 100 / w); };
    // "Droite" visits x = width - 1 down to 0 and reports (width - x) * 100 div width.
    auto rightToLeft = [w](int i) { return int((long long)(i + 1) * 100 / w); };
    if (side == Gauche || side == Droite) {
        const bool left = side == Gauche;
        auto rows = [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y) {
                const QRgb *a = in(y);
                QRgb *d = dst(y);
                if (left) {
                    int nearest = INT_MAX / 2;
                    for (int x = w - 1; x >= 0; --x) {
                        d[x] = nearest - x <= L ? kBlack : a[x];
                        if (x >= L && dark(a[x]))
                            nearest = x;
                    }
                } else {
                    int nearest = INT_MIN / 2;
                    for (int x = 0; x < w; ++x) {
                        d[x] = x - nearest <= L ? kBlack : a[x];
                        if (x < w - L && dark(a[x]))
                            nearest = x;
                    }
                }
            }
        };
        if (left)
            forBandsInParallel(h, kBandRows, rows, progressByColumns(progress, w, h, leftToRight));
        else
            forBandsInParallel(h, kBandRows, rows, progressByColumns(progress, w, h, rightToLeft));
        return out;
    }
    // "Haut" walks rows from the bottom, "Bas" from the top, one nearest row per column.
    // A band starts from the dark pixels of the L rows before it, so bands are independent.
    const bool up = side == Haut;
    auto fits = [&](int y) { return up ? y >= L : y < h - L; };
    forBandsInParallel(
        h, kBandRows,
        [&](int y0, int y1) {
            std::vector<int> nearest(size_t(w), up ? INT_MAX / 2 : INT_MIN / 2);
            const int from = up ? std::min(h - 1, y1 - 1 + L) : std::max(0, y0 - L);
            for (int y = from; up ? y >= y1 : y < y0; y += up ? -1 : 1) {
                if (!fits(y))
                    continue;
                const QRgb *a = in(y);
                for (int x = 0; x < w; ++x)
                    if (dark(a[x]))
                        nearest[size_t(x)] = y;
            }
            for (int k = 0; k < y1 - y0; ++k) {
                const int y = up ? y1 - 1 - k : y0 + k;
                const QRgb *a = in(y);
                QRgb *d = dst(y);
                const bool castHere = fits(y);
                for (int x = 0; x < w; ++x) {
                    int &n = nearest[size_t(x)];
                    d[x] = (up ? n - y : y - n) <= L ? kBlack : a[x];
                    if (castHere && dark(a[x]))
                        n = y;
                }
            }
        },
        progressByColumns(progress, w, h, leftToRight));
    return out;
}

TColour gradientBand(TColour start, int type, int k)
{
    const long long step = type == 1 ? 5 : -5;
    const long long v = (long long)start + step * k;
    return TColour(std::clamp(v, 0LL, 0xFFFFFFLL));
}

void gradient(Canvas &canvas, TColour start, int type, bool leftToRight)
{
    if (type != 1 && type != 2)
        throw VermeoError(QStringLiteral("Type de dégradé inconnu : %1 (1 ou 2).").arg(type));
    const int w = canvas.width(), h = canvas.height();
    QImage *img = canvas.beginWrite(QRect(0, 0, w - 1, h - 1));
    if (!img || img->isNull())
        return;
    QRgb band[50];
    for (int k = 0; k < 50; ++k)
        band[k] = toQRgb(gradientBand(start, type, k));
    // The 50 fills each run from their band's start to the far edge, later ones over
    // earlier ones; painting each pixel with the last fill that covers it is the same.
    // The fills stop short of the last row and column, which are exclusive edges.
    const int bandSize = (leftToRight ? w : h) / 50;
    auto bandAt = [&](int i) { return bandSize == 0 ? 49 : std::min(49, i / bandSize); };
    const auto rows = rowsOf(*img);
    forBandsInParallel(std::max(0, h - 1), 64, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            QRgb *p = rows[y];
            if (leftToRight) {
                for (int x = 0; x < w - 1; ++x)
                    p[x] = band[bandAt(x)];
            } else {
                std::fill(p, p + (w - 1), band[bandAt(y)]);
            }
        }
    });
    if (w > 1 && h > 1)
        canvas.markDirty(QRect(0, 0, w - 1, h - 1));
    const TColour last = gradientBand(start, type, 49);
    canvas.setPenMode(PenMode::Copy);
    canvas.setPenColour(last);
    canvas.setBrushColour(last);
}

} // namespace vermeo::colour
