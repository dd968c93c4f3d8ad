#include "PaletteFit.h"
#include "Error.h"
#include "PaletteIndex.h"

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

Picture fitPalette(const Picture &pic)
{
    const int depth = pic.depth;
    if (pic.isNull() || (depth != 1 && depth != 4 && depth != 8))
        return pic;
    const int n = 1 << depth;
    std::vector<QRgb> colours;
    if (!distinctColours(pic.image, n, colours))
        return reduced(pic, n, depth);
    QList<QRgb> palette = fullPalette(pic.palette, depth);
    std::vector<bool> used(size_t(n), false);
    std::vector<QRgb> missing;
    for (QRgb c : colours) {
        int at = -1;
        for (int i = 0; i < n && at < 0; ++i)
            if ((palette[i] | 0xFF000000u) == c)
                at = i;
        if (at >= 0)
            used[size_t(at)] = true;
        else
            missing.push_back(c);
    }
    if (missing.empty())
        return pic;
    // New colours take the entries that no pixel uses.
    size_t slot = 0;
    for (QRgb c : missing) {
        while (used[slot])
            ++slot;
        palette[int(slot)] = c;
        used[slot] = true;
    }
    Picture out = pic;
    out.palette = palette;
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
