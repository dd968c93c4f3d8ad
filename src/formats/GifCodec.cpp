#include "GifCodec.h"
#include "PixelRows.h"
#include "Error.h"
#include "PaletteIndex.h"

#include <cstring>
#include <memory>
#include <vector>

#include <gif_lib.h>
extern "C" {
#include <libimagequant.h>
}

namespace vermeo::formats {

namespace {
struct MemoryInput {
    const QByteArray *data;
    qsizetype pos = 0;
};

int readFromMemory(GifFileType *gif, GifByteType *buf, int len)
{
    auto *in = static_cast<MemoryInput *>(gif->UserData);
    const qsizetype n = std::min<qsizetype>(len, in->data->size() - in->pos);
    if (n <= 0)
        return 0;
    std::memcpy(buf, in->data->constData() + in->pos, size_t(n));
    in->pos += n;
    return int(n);
}

int writeToMemory(GifFileType *gif, const GifByteType *buf, int len)
{
    static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(buf), len);
    return len;
}

struct GifCloser {
    void operator()(GifFileType *g) const
    {
        int err = 0;
        DGifCloseFile(g, &err);
    }
};

VermeoError gifError(int code)
{
    const char *msg = GifErrorString(code);
    return VermeoError(QStringLiteral("fichier GIF illisible (%1)").arg(QString::fromUtf8(msg ? msg : "erreur inconnue")));
}
} // namespace

Picture decodeGif(const QByteArray &data)
{
    MemoryInput input{&data};
    int err = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&input, readFromMemory, &err));
    if (!gif)
        throw gifError(err);
    const long long sw = gif->SWidth, sh = gif->SHeight;
    // LZW gives at most a few thousand pixels per byte: refuse screens no file this
    // small could describe, before allocating them.
    const long long bound = (long long)data.size() * 16384 + (1 << 22);
    if (sw <= 0 || sh <= 0 || sw * sh > kMaxPixels || sw * sh > bound)
        throw VermeoError(QStringLiteral("fichier GIF refusé (taille %1 x %2)").arg(sw).arg(sh));
    int transparent = -1;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            throw gifError(gif->Error);
        if (type == TERMINATE_RECORD_TYPE)
            throw VermeoError(QStringLiteral("fichier GIF sans image"));
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType *ext = nullptr;
            if (DGifGetExtension(gif.get(), &code, &ext) == GIF_ERROR)
                throw gifError(gif->Error);
            if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
                GraphicsControlBlock gcb;
                if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK)
                    transparent = gcb.TransparentColor;
            }
            while (ext) {
                if (DGifGetExtensionNext(gif.get(), &ext) == GIF_ERROR)
                    throw gifError(gif->Error);
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
            throw gifError(gif->Error);
        break;
    }
    const GifImageDesc &d = gif->Image;
    const long long fw = d.Width, fh = d.Height;
    if (fw <= 0 || fh <= 0 || fw > 65535 || fh > 65535 || fw * fh > bound || fw * fh > kMaxPixels)
        throw VermeoError(QStringLiteral("fichier GIF refusé (image de %1 x %2)").arg(fw).arg(fh));
    const ColorMapObject *map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    QRgb colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = qRgb(i, i, i); // no colour map at all: read as grey
    if (map) {
        for (int i = 0; i < map->ColorCount && i < 256; ++i)
            colours[i] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
    }
    if (transparent >= 0 && transparent < 256)
        colours[transparent] = qRgb(255, 255, 255);

    QImage img = newWorkingImage(int(sw), int(sh), qRgb(255, 255, 255));
    std::vector<GifPixelType> line(static_cast<size_t>(fw));
    auto putLine = [&](long long y) {
        const long long ty = d.Top + y;
        if (ty < 0 || ty >= sh)
            return;
        QRgb *dst = rowOf(img, int(ty));
        for (long long x = 0; x < fw; ++x) {
            const long long tx = d.Left + x;
            if (tx >= 0 && tx < sw && line[size_t(x)] != transparent)
                dst[tx] = colours[line[size_t(x)]];
        }
    };
    if (d.Interlace) {
        static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (long long y = start[pass]; y < fh; y += step[pass]) {
                if (DGifGetLine(gif.get(), line.data(), int(fw)) == GIF_ERROR)
                    throw gifError(gif->Error);
                putLine(y);
            }
    } else {
        for (long long y = 0; y < fh; ++y) {
            if (DGifGetLine(gif.get(), line.data(), int(fw)) == GIF_ERROR)
                throw gifError(gif->Error);
            putLine(y);
        }
    }
    return Picture::fromImage(img);
}

namespace {
struct GifWriterCloser {
    void operator()(GifFileType *g) const
    {
        int err = 0;
        EGifCloseFile(g, &err);
    }
};

VermeoError gifWriteError(int code)
{
    const char *msg = GifErrorString(code);
    return VermeoError(QStringLiteral("écriture GIF impossible (%1)").arg(QString::fromUtf8(msg ? msg : "erreur inconnue")));
}

// The indices of every pixel and a palette of 2^bits entries.
struct Indexed {
    std::vector<uchar> pixels;
    QList<QRgb> palette;
    int bits = 8;
};

Indexed quantise(const QImage &rgb32)
{
    const int w = rgb32.width(), h = rgb32.height();
    const QImage rgba = rgb32.convertToFormat(QImage::Format_RGBA8888);
    std::vector<const unsigned char *> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
        rows[size_t(y)] = rgba.constScanLine(y);
    liq_attr *attr = liq_attr_create();
    liq_set_max_colors(attr, 256);
    liq_set_speed(attr, 8);
    liq_image *image = liq_image_create_rgba_rows(attr, const_cast<void **>(reinterpret_cast<const void *const *>(rows.data())), w, h, 0);
    liq_result *result = nullptr;
    Indexed out;
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
    out.bits = 1;
    while ((1 << out.bits) < out.palette.size())
        ++out.bits;
    return out;
}
} // namespace

QByteArray encodeGif(const Picture &pic)
{
    if (pic.isNull())
        throw VermeoError(QStringLiteral("image vide"));
    const int w = pic.width(), h = pic.height();
    if (w > 65535 || h > 65535)
        throw VermeoError(QStringLiteral("image trop grande pour le format GIF (65 535 points au plus)"));
    Indexed ix;
    if (pic.depth <= 8 && !pic.palette.isEmpty()) {
        ix.bits = pic.depth;
        ix.palette = fullPalette(pic.palette, pic.depth);
        ix.pixels.resize(size_t(w) * h);
        PaletteIndex index(ix.palette);
        for (int y = 0; y < h; ++y) {
            const QRgb *src = rowOf(pic.image, y);
            uchar *dst = ix.pixels.data() + size_t(y) * w;
            for (int x = 0; x < w; ++x)
                dst[x] = uchar(index.indexOf(src[x]));
        }
    } else {
        ix = quantise(pic.image);
    }
    const int count = 1 << ix.bits;
    ColorMapObject *map = GifMakeMapObject(count, nullptr);
    if (!map)
        throw VermeoError(QStringLiteral("mémoire insuffisante"));
    for (int i = 0; i < count; ++i) {
        const QRgb c = i < ix.palette.size() ? ix.palette[i] : qRgb(0, 0, 0);
        map->Colors[i] = GifColorType{uchar(qRed(c)), uchar(qGreen(c)), uchar(qBlue(c))};
    }
    QByteArray out;
    int err = 0;
    std::unique_ptr<GifFileType, GifWriterCloser> gif(EGifOpen(&out, writeToMemory, &err));
    if (!gif) {
        GifFreeMapObject(map);
        throw gifWriteError(err);
    }
    const bool ok = EGifPutScreenDesc(gif.get(), w, h, ix.bits, 0, map) != GIF_ERROR
                    && EGifPutImageDesc(gif.get(), 0, 0, w, h, false, nullptr) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!ok)
        throw gifWriteError(gif->Error);
    for (int y = 0; y < h; ++y)
        if (EGifPutLine(gif.get(), ix.pixels.data() + size_t(y) * w, w) == GIF_ERROR)
            throw gifWriteError(gif->Error);
    GifFileType *g = gif.release();
    if (EGifCloseFile(g, &err) == GIF_ERROR)
        throw gifWriteError(err);
    return out;
}

} // namespace vermeo::formats
