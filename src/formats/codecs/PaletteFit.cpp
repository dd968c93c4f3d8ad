#include "PaletteFit.h"
#include "Error.h"
#include "PaletteIndex.h"

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

IndexedPicture quantise(const QImage &rgb32, int maxColours)
{
    const int w = rgb32.width(), h = rgb32.height();
    const QImage rgba = rgb32.convertToFormat(QImage::Format_RGBA8888);
    std::vector<void *> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
        rows[size_t(y)] = const_cast<uchar *>(rgba.constScanLine(y));
    liq_attr *attr = liq_attr_create();
    liq_set_max_colors(attr, std::clamp(maxColours, 2, 256));
    liq_set_speed(attr, 8);
    liq_image *image = liq_image_create_rgba_rows(attr, rows.data(), w, h, 0);
    liq_result *result = nullptr;
    IndexedPicture out;
    const liq_error e = image ? liq_image_quantize(image, attr, &result) : LIQ_INVALID_POINTER;
    if (e == LIQ_OK) {
        liq_set_dithering_level(result, 1.0f);
        out.pixels.resize(size_t(w) * h);
        if (liq_write_remapped_image(result, image, out.pixels.data(), out.pixels.size()) == LIQ_OK) {
            const liq_palette *p = liq_get_palette(result);
            for (unsigned i = 0; i < p->count; ++i)
                out.palette.append(qRgb(p->entries[i].r, p->entries[i].g, p->entries[i].b));
        }
        liq_result_destroy(result);
    }
    if (image)
        liq_image_destroy(image);
    liq_attr_destroy(attr);
    if (out.palette.isEmpty())
        throw VermeoError(QStringLiteral("réduction des couleurs impossible"));
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
