#include "PaletteFit.h"
#include "Error.h"
#include "PaletteIndex.h"
#include "Parallel.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cmath>
#include <dlfcn.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

extern "C" {
#include <libimagequant.h>
}

namespace vermeo::formats {

bool distinctColours(const QImage &img, int limit, std::vector<QRgb> &out)
{
    out.clear();
    std::unordered_set<QRgb> seen;
    // Colours met lately, by a hash of their value: most pixels stop here. An empty slot
    // (alpha 0) never equals a pixel (alpha 255).
    std::vector<QRgb> recent(4096, 0);
    const RowsOf<const QRgb> rows = rowsOf(img);
    for (int y = 0; y < img.height(); ++y) {
        const QRgb *row = rows[y];
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = row[x] | 0xFF000000u;
            QRgb &slot = recent[((c * 2654435761u) >> 20) & 4095];
            if (slot == c)
                continue;
            slot = c;
            if (seen.insert(c).second) {
                if (int(out.size()) == limit)
                    return false;
                out.push_back(c);
            }
        }
    }
    return true;
}

namespace {
// The palette is chosen on at most this many pixels: every k-th pixel of every k-th row.
// Beyond it a larger sample changes the palette's quality by no visible amount, while
// the time grows with the pixels.
constexpr qsizetype kPaletteSample = 256 * 256;

QImage paletteSample(const QImage &img)
{
    const qsizetype pixels = qsizetype(img.width()) * img.height();
    if (pixels <= kPaletteSample)
        return img.convertToFormat(QImage::Format_RGBA8888);
    const int step = int(std::ceil(std::sqrt(double(pixels) / double(kPaletteSample))));
    const int w = (img.width() + step - 1) / step, h = (img.height() + step - 1) / step;
    QImage out(w, h, QImage::Format_RGBA8888);
    const RowsOf<const QRgb> src = rowsOf(img);
    for (int y = 0; y < h; ++y) {
        // Staggered columns from row to row, so that no column pattern is favoured.
        const QRgb *row = src[y * step];
        uchar *d = out.scanLine(y);
        for (int x = 0; x < w; ++x, d += 4) {
            const QRgb c = row[std::min(img.width() - 1, x * step + (y % step))];
            d[0] = uchar(qRed(c)), d[1] = uchar(qGreen(c)), d[2] = uchar(qBlue(c)), d[3] = 255;
        }
    }
    return out;
}

// libimagequant runs its loops on OpenMP threads that spin while they wait: on a busy
// machine they cost more than they save on a sample this small. One thread, then.
void quantiseOnOneThread()
{
    static const bool once = [] {
        using SetThreads = void (*)(int);
        if (auto set = reinterpret_cast<SetThreads>(dlsym(RTLD_DEFAULT, "omp_set_num_threads")))
            set(1);
        return true;
    }();
    (void)once;
}

// The palette libimagequant makes of the sample.
QList<QRgb> choosePalette(const QImage &sample, int maxColours)
{
    quantiseOnOneThread();
    std::vector<void *> rows(static_cast<size_t>(sample.height()));
    for (int y = 0; y < sample.height(); ++y)
        rows[size_t(y)] = const_cast<uchar *>(sample.constScanLine(y));
    liq_attr *attr = liq_attr_create();
    liq_set_max_colors(attr, std::clamp(maxColours, 2, 256));
    liq_set_speed(attr, 10);
    liq_image *image = liq_image_create_rgba_rows(attr, rows.data(), sample.width(), sample.height(), 0);
    liq_result *result = nullptr;
    QList<QRgb> palette;
    if (image && liq_image_quantize(image, attr, &result) == LIQ_OK) {
        const liq_palette *p = liq_get_palette(result);
        for (unsigned i = 0; i < p->count; ++i)
            palette.append(qRgb(p->entries[i].r, p->entries[i].g, p->entries[i].b));
        liq_result_destroy(result);
    }
    if (image)
        liq_image_destroy(image);
    liq_attr_destroy(attr);
    return palette;
}

// The nearest palette entry of a colour, remembered by its 6 high bits per channel.
// One table for all bands: an entry is written with the same value by whichever band
// finds it first.
class NearestEntry {
public:
    explicit NearestEntry(const QList<QRgb> &palette) : m_count(int(palette.size())), m_cache(size_t(1) << 18)
    {
        for (int i = 0; i < m_count; ++i) {
            m_r[size_t(i)] = qRed(palette[i]), m_g[size_t(i)] = qGreen(palette[i]), m_b[size_t(i)] = qBlue(palette[i]);
        }
        for (auto &slot : m_cache)
            slot.store(-1, std::memory_order_relaxed);
    }
    int operator()(int r, int g, int b)
    {
        // The cell's centre is searched, so the entry does not depend on which colour of
        // the cell came first.
        std::atomic<int16_t> &slot = m_cache[size_t((r >> 2) << 12 | (g >> 2) << 6 | (b >> 2))];
        int i = slot.load(std::memory_order_relaxed);
        if (i < 0) {
            i = search((r & ~3) | 2, (g & ~3) | 2, (b & ~3) | 2);
            slot.store(int16_t(i), std::memory_order_relaxed);
        }
        return i;
    }

private:
    int search(int r, int g, int b) const
    {
        // Distance and index in one number, (distance << 8) | index, so that one minimum
        // (which the compiler takes several entries at a time) gives the nearest entry,
        // the first of equals. Distances stay below 2^18.
        int best = INT_MAX;
        for (int i = 0; i < m_count; ++i) {
            const int dr = m_r[size_t(i)] - r, dg = m_g[size_t(i)] - g, db = m_b[size_t(i)] - b;
            best = std::min(best, (dr * dr + dg * dg + db * db) << 8 | i);
        }
        return best & 0xFF;
    }
    int m_count;
    std::array<int, 256> m_r{}, m_g{}, m_b{};
    std::vector<std::atomic<int16_t>> m_cache;
};

// Floyd-Steinberg error diffusion over rows [y0, y1), the error starting afresh at the
// band's first row.
void ditherBand(const QImage &img, const QList<QRgb> &palette, NearestEntry &nearest, uchar *out, int y0, int y1)
{
    const int w = img.width();
    // Error of this row and the next, per channel, with one spare column at each end.
    std::vector<int> here(size_t(w + 2) * 3, 0), next(size_t(w + 2) * 3, 0);
    const RowsOf<const QRgb> rows = rowsOf(img);
    for (int y = y0; y < y1; ++y) {
        const QRgb *src = rows[y];
        uchar *dst = out + size_t(y) * w;
        std::fill(next.begin(), next.end(), 0);
        for (int x = 0; x < w; ++x) {
            int *e = &here[size_t(x + 1) * 3];
            const QRgb c = src[x];
            // Errors in sixteenths.
            const int r = std::clamp(qRed(c) + ((e[0] + 8) >> 4), 0, 255);
            const int g = std::clamp(qGreen(c) + ((e[1] + 8) >> 4), 0, 255);
            const int b = std::clamp(qBlue(c) + ((e[2] + 8) >> 4), 0, 255);
            const int i = nearest(r, g, b);
            dst[x] = uchar(i);
            const QRgb p = palette[i];
            const int err[3] = {r - qRed(p), g - qGreen(p), b - qBlue(p)};
            int *right = e + 3, *below = &next[size_t(x + 1) * 3];
            for (int k = 0; k < 3; ++k) {
                right[k] += err[k] * 7;
                below[k - 3] += err[k] * 3;
                below[k] += err[k] * 5;
                below[k + 3] += err[k];
            }
        }
        std::swap(here, next);
    }
}
} // namespace

IndexedPicture quantise(const QImage &rgb32, int maxColours)
{
    IndexedPicture out;
    out.palette = choosePalette(paletteSample(rgb32), maxColours);
    if (out.palette.isEmpty())
        throw VermeoError(QStringLiteral("réduction des couleurs impossible"));
    out.pixels.resize(size_t(rgb32.width()) * rgb32.height());
    // Bands of a fixed height on all cores, each diffusing its own error: the same bits
    // on every machine, and no seam to see.
    NearestEntry nearest(out.palette);
    constexpr int kDitherBandRows = 128;
    const int h = rgb32.height(), bands = (h + kDitherBandRows - 1) / kDitherBandRows;
    forBandsInParallel(bands, 1, [&](int b0, int b1) {
        for (int b = b0; b < b1; ++b)
            ditherBand(rgb32, out.palette, nearest, out.pixels.data(), b * kDitherBandRows,
                       std::min(h, (b + 1) * kDitherBandRows));
    });
    return out;
}

namespace {
Picture reduced(const Picture &pic, int maxColours, int depth)
{
    const IndexedPicture q = quantise(pic.image, maxColours);
    Picture out;
    out.image = newWorkingImage(pic.width(), pic.height());
    const RowsOf<QRgb> rows = rowsOf(out.image);
    const uchar *ix = q.pixels.data();
    for (int y = 0; y < out.height(); ++y) {
        QRgb *row = rows[y];
        for (int x = 0; x < out.width(); ++x)
            row[x] = q.palette[*ix++];
    }
    out.depth = depth;
    out.palette = fullPalette(q.palette, depth);
    return out;
}
} // namespace

namespace {
bool isPalettePicture(const Picture &pic)
{
    return !pic.isNull() && (pic.depth == 1 || pic.depth == 4 || pic.depth == 8) && !pic.palette.isEmpty();
}

// How the pixels use a palette: the entries met, and the colours it lacks, the most
// frequent first (at most kTracked of them are told apart; more are counted only).
struct PaletteUse {
    std::vector<bool> used;
    std::vector<std::pair<QRgb, qint64>> fresh;
    qint64 freshColours = 0;
    std::vector<int> freeEntries; // where new colours may go, in order of preference
};

constexpr size_t kTracked = 1 << 16;

PaletteUse usageOf(const Picture &pic, const QList<QRgb> &palette)
{
    std::unordered_map<QRgb, int> at;
    for (int i = int(palette.size()) - 1; i >= 0; --i)
        at[palette[i] | 0xFF000000u] = i; // the first of equal entries, as the writers pick
    PaletteUse u;
    u.used.assign(size_t(palette.size()), false);
    std::unordered_map<QRgb, qint64> fresh;
    struct Recent {
        QRgb colour = 0; // alpha 0: never a pixel
        int index = -1;
    };
    std::vector<Recent> recent(4096);
    const RowsOf<const QRgb> rows = rowsOf(pic.image);
    for (int y = 0; y < pic.height(); ++y) {
        const QRgb *row = rows[y];
        for (int x = 0; x < pic.width(); ++x) {
            const QRgb c = row[x] | 0xFF000000u;
            Recent &r = recent[((c * 2654435761u) >> 20) & 4095];
            if (r.colour != c) {
                const auto it = at.find(c);
                r = {c, it == at.end() ? -1 : it->second};
                if (r.index >= 0)
                    u.used[size_t(r.index)] = true;
            }
            if (r.index >= 0)
                continue;
            const auto f = fresh.find(c);
            if (f != fresh.end())
                ++f->second;
            else if (fresh.size() < kTracked)
                fresh.emplace(c, 1);
            else
                ++u.freshColours; // told apart no longer; at least one more colour
        }
    }
    u.freshColours += qint64(fresh.size());
    u.fresh.assign(fresh.begin(), fresh.end());
    std::sort(u.fresh.begin(), u.fresh.end(), [](const auto &a, const auto &b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    // Entries the file did not define go first, then those of its own that no pixel uses.
    for (int i = int(pic.palette.size()); i < palette.size(); ++i)
        if (!u.used[size_t(i)])
            u.freeEntries.push_back(i);
    for (int i = 0; i < std::min<int>(int(pic.palette.size()), int(palette.size())); ++i)
        if (!u.used[size_t(i)])
            u.freeEntries.push_back(i);
    return u;
}

int capacityFor(const Picture &pic, int capacity) { return std::max(pic.depth, capacity); }

// The smallest palette depth, from the picture's own, that holds entry `highest`.
int depthHolding(int depth, int highest)
{
    for (int d : {1, 4, 8})
        if (d >= depth && highest < (1 << d))
            return d;
    return 8;
}
} // namespace

bool paletteOverflows(const Picture &pic, int capacity)
{
    if (!isPalettePicture(pic))
        return false;
    const PaletteUse u = usageOf(pic, fullPalette(pic.palette, capacityFor(pic, capacity)));
    return u.freshColours > qint64(u.freeEntries.size());
}

Picture fitPalette(const Picture &pic, PaletteChoice choice, int capacity)
{
    if (!isPalettePicture(pic))
        return pic;
    QList<QRgb> palette = fullPalette(pic.palette, capacityFor(pic, capacity));
    const PaletteUse u = usageOf(pic, palette);
    if (u.fresh.empty())
        return pic;
    const bool overflows = u.freshColours > qint64(u.freeEntries.size());
    Picture out = pic;
    if (overflows && choice == PaletteChoice::TrueColour) {
        out.depth = 24;
        out.palette.clear();
        return out;
    }
    // The most frequent new colours take the free entries.
    int highest = 0;
    for (int i = 0; i < int(u.used.size()); ++i)
        if (u.used[size_t(i)])
            highest = i;
    const size_t placed = std::min(u.fresh.size(), u.freeEntries.size());
    for (size_t k = 0; k < placed; ++k) {
        palette[u.freeEntries[k]] = u.fresh[k].first;
        highest = std::max(highest, u.freeEntries[k]);
    }
    out.depth = depthHolding(pic.depth, highest);
    out.palette = palette.mid(0, 1 << out.depth);
    if (!overflows)
        return out;
    // The colours left over become their nearest entry; a colour of the palette is its
    // own nearest, so every other pixel stays.
    PaletteIndex nearest(out.palette);
    out.image = pic.image.copy();
    const RowsOf<QRgb> rows = rowsOf(out.image);
    for (int y = 0; y < out.height(); ++y) {
        QRgb *row = rows[y];
        for (int x = 0; x < out.width(); ++x)
            row[x] = out.palette[nearest.indexOf(row[x])] | 0xFF000000u;
    }
    return out;
}

Picture reduceTo(const Picture &pic, int maxColours)
{
    std::vector<QRgb> colours;
    if (distinctColours(pic.image, maxColours, colours))
        return pic;
    return reduced(pic, maxColours, 8);
}

} // namespace vermeo::formats
