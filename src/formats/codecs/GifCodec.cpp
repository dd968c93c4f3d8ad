#include "GifCodec.h"
#include "ByteIO.h"
#include "Error.h"
#include "FormatsLog.h"
#include "PaletteFit.h"
#include "PaletteIndex.h"
#include "PixelRows.h"
#include "Truncation.h"

#include <cstring>
#include <memory>
#include <vector>

#include <gif_lib.h>

namespace vermeo::formats {

namespace {
long long gifPixelBound(qsizetype bytes) { return (long long)bytes * 4096 + (1 << 22); }

// Only the first frame is read: the screen around it is white, so a screen far larger
// than that frame would be memory spent on nothing the file holds.
bool screenBackedByFrame(long long sw, long long sh, long long fw, long long fh)
{
    return sw * sh <= 4 * fw * fh + (16LL << 20);
}

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
    static_cast<QByteArray *>(gif->UserData)->append(charsOf(buf), len);
    return len;
}

struct GifCloser {
    void operator()(GifFileType *g) const
    {
        int err = 0;
        DGifCloseFile(g, &err);
    }
};

// giflib's own text goes to the log; the user reads the French reason.
QString frenchReason(int code)
{
    const char *msg = GifErrorString(code);
    qCInfo(lcFormats) << "giflib" << code << (msg ? msg : "");
    switch (code) {
    case D_GIF_ERR_NOT_GIF_FILE: return QStringLiteral("ce n'est pas un fichier GIF");
    case D_GIF_ERR_READ_FAILED:
    case D_GIF_ERR_EOF_TOO_SOON: return QStringLiteral("fichier tronqué");
    case D_GIF_ERR_NOT_ENOUGH_MEM:
    case E_GIF_ERR_NOT_ENOUGH_MEM: return QStringLiteral("mémoire insuffisante");
    case E_GIF_ERR_DATA_TOO_BIG: return QStringLiteral("image trop grande");
    default: return QStringLiteral("données invalides");
    }
}

VermeoError gifError(int code)
{
    return VermeoError(QStringLiteral("fichier GIF illisible (%1)").arg(frenchReason(code)));
}
} // namespace

Picture decodeGif(const QByteArray &data, bool *truncated)
{
    MemoryInput input{&data};
    int err = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&input, readFromMemory, &err));
    if (!gif)
        throw gifError(err);
    const long long sw = gif->SWidth, sh = gif->SHeight;
    // LZW gives at most about 2730 pixels per byte (4096 pixels for a 12-bit code): refuse
    // screens and frames no file this small could cover, before allocating them.
    const long long bound = gifPixelBound(data.size());
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
    if (!screenBackedByFrame(sw, sh, fw, fh))
        throw VermeoError(QStringLiteral("fichier GIF refusé (écran de %1 x %2 pour une image de %3 x %4)")
                              .arg(sw)
                              .arg(sh)
                              .arg(fw)
                              .arg(fh));
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
    // Lines that the data end before are left white.
    auto getLine = [&]() {
        if (DGifGetLine(gif.get(), line.data(), int(fw)) != GIF_ERROR)
            return true;
        if (gif->Error != D_GIF_ERR_READ_FAILED && gif->Error != D_GIF_ERR_EOF_TOO_SOON)
            throw gifError(gif->Error);
        endedEarly(truncated);
        return false;
    };
    if (d.Interlace) {
        static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        bool more = true;
        for (int pass = 0; pass < 4 && more; ++pass)
            for (long long y = start[pass]; y < fh && more; y += step[pass])
                if ((more = getLine()))
                    putLine(y);
    } else {
        for (long long y = 0; y < fh && getLine(); ++y)
            putLine(y);
    }
    // The file's own palette is kept, so that saving again writes the same colours.
    QList<QRgb> palette;
    const int entries = map ? std::clamp(map->ColorCount, 2, 256) : 256;
    for (int i = 0; i < entries; ++i)
        palette.append(colours[i]);
    return Picture::withPalette(img, 8, fullPalette(palette, 8));
}

QSize gifFileSize(const QByteArray &data)
{
    MemoryInput input{&data};
    int err = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&input, readFromMemory, &err));
    if (!gif)
        throw gifError(err);
    const QSize size(gif->SWidth, gif->SHeight);
    const long long bound = gifPixelBound(data.size());
    if (size.isEmpty() || (long long)size.width() * size.height() > std::min(bound, kMaxPixels))
        throw VermeoError(QStringLiteral("fichier GIF refusé (taille %1 x %2)").arg(size.width()).arg(size.height()));
    // The first frame's data blocks, walked without decoding them: a file cut inside
    // them is truncated.
    auto failed = [&gif]() -> VermeoError {
        if (gif->Error == D_GIF_ERR_READ_FAILED || gif->Error == D_GIF_ERR_EOF_TOO_SOON)
            return VermeoError(truncatedReason());
        return gifError(gif->Error);
    };
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            throw failed();
        if (type == TERMINATE_RECORD_TYPE)
            throw VermeoError(QStringLiteral("fichier GIF sans image"));
        GifByteType *block = nullptr;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                throw failed();
            while (block)
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    throw failed();
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            continue;
        int codeSize = 0;
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
            throw failed();
        const long long fw = gif->Image.Width, fh = gif->Image.Height;
        if (fw <= 0 || fh <= 0 || fw * fh > std::min(bound, kMaxPixels))
            throw VermeoError(QStringLiteral("fichier GIF refusé (image de %1 x %2)").arg(fw).arg(fh));
        if (!screenBackedByFrame(size.width(), size.height(), fw, fh))
            throw VermeoError(QStringLiteral("fichier GIF refusé (écran de %1 x %2 pour une image de %3 x %4)")
                                  .arg(size.width())
                                  .arg(size.height())
                                  .arg(fw)
                                  .arg(fh));
        if (DGifGetCode(gif.get(), &codeSize, &block) == GIF_ERROR)
            throw failed();
        while (block)
            if (DGifGetCodeNext(gif.get(), &block) == GIF_ERROR)
                throw failed();
        return size;
    }
}

namespace {
struct Indexed {
    std::vector<uchar> pixels;
    QList<QRgb> palette;
    int bits = 8;
};

struct GifWriterCloser {
    void operator()(GifFileType *g) const
    {
        int err = 0;
        EGifCloseFile(g, &err);
    }
};

VermeoError gifWriteError(int code)
{
    return VermeoError(QStringLiteral("écriture GIF impossible (%1)").arg(frenchReason(code)));
}

} // namespace

QByteArray encodeGif(const Picture &pic)
{
    if (pic.isNull())
        throw VermeoError(QStringLiteral("image vide"));
    const int w = pic.width(), h = pic.height();
    if (w > 65535 || h > 65535)
        throw VermeoError(QStringLiteral("image trop grande pour le format GIF (65 535 points au plus)"));
    // Up to 256 colours are written exactly, without dithering; only more are reduced.
    Indexed ix;
    std::vector<QRgb> colours;
    const bool few = distinctColours(pic.image, 256, colours);
    if (few && pic.depth <= 8 && !pic.palette.isEmpty() && int(colours.size()) <= (1 << pic.depth)) {
        ix.palette = fullPalette(fitPalette(pic).palette, pic.depth); // the picture's own order
    } else if (few) {
        ix.palette = QList<QRgb>(colours.begin(), colours.end());
    } else {
        IndexedPicture q = quantise(pic.image, 256);
        ix.palette = q.palette;
        ix.pixels = std::move(q.pixels);
    }
    ix.bits = 1;
    while ((1 << ix.bits) < ix.palette.size())
        ++ix.bits;
    if (ix.pixels.empty()) {
        ix.pixels.resize(size_t(w) * h);
        PaletteIndex index(ix.palette);
        const RowsOf<const QRgb> rows = rowsOf(pic.image);
        for (int y = 0; y < h; ++y) {
            const QRgb *src = rows[y];
            uchar *dst = ix.pixels.data() + size_t(y) * w;
            for (int x = 0; x < w; ++x)
                dst[x] = uchar(index.indexOf(src[x]));
        }
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
    const bool ok = EGifPutScreenDesc(gif.get(), w, h, ix.bits, 0, map) != GIF_ERROR &&
                    EGifPutImageDesc(gif.get(), 0, 0, w, h, false, nullptr) != GIF_ERROR;
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
