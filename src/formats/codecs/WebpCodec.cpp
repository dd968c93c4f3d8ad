#include "WebpCodec.h"
#include "ByteIO.h"
#include "ColourProfile.h"
#include "DeclaredSize.h"
#include "Error.h"
#include "FormatsLog.h"
#include "PixelRows.h"

#include <webp/decode.h>
#include <webp/demux.h>
#include <webp/encode.h>

#include <memory>

namespace vermeo::formats {

namespace {
VermeoError damaged(const QString &why) { return VermeoError(QStringLiteral("fichier WebP endommagé (%1)").arg(why)); }

struct DemuxDeleter {
    void operator()(WebPDemuxer *d) const { WebPDemuxDelete(d); }
};

void layOnWhite(QImage &img)
{
    const RowsOf<QRgb> rows = rowsOf(img);
    for (int y = 0; y < img.height(); ++y) {
        QRgb *p = rows[y];
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = p[x];
            if (qAlpha(c) != 255)
                p[x] = laidOnWhite(qRed(c), qGreen(c), qBlue(c), qAlpha(c));
        }
    }
}

QString frenchReason(VP8StatusCode status)
{
    switch (status) {
    case VP8_STATUS_OUT_OF_MEMORY: return QStringLiteral("mémoire insuffisante");
    case VP8_STATUS_NOT_ENOUGH_DATA: return QStringLiteral("fichier tronqué");
    case VP8_STATUS_UNSUPPORTED_FEATURE: return QStringLiteral("variante non prise en charge");
    default: return QStringLiteral("données invalides");
    }
}
} // namespace

Picture decodeWebp(const QByteArray &data)
{
    // An extended file says its canvas size first: a size no file this small could hold
    // is refused before libwebp looks further.
    if (data.size() >= 30 && data.startsWith("RIFF") && data.mid(8, 8) == "WEBPVP8X") {
        const auto *d = reinterpret_cast<const uchar *>(data.constData());
        const long long w = 1 + (d[24] | d[25] << 8 | d[26] << 16), h = 1 + (d[27] | d[28] << 8 | d[29] << 16);
        if (!isHoldableSize(w, h) || !compressedFileCouldHold(w, h, data.size()))
            throw VermeoError(QStringLiteral("fichier WebP refusé (taille %1 x %2)").arg(w).arg(h));
    }
    const WebPData whole = {reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size())};
    const std::unique_ptr<WebPDemuxer, DemuxDeleter> demux(WebPDemux(&whole));
    if (!demux) {
        if (data.size() < 12 || !data.startsWith("RIFF") || data.mid(8, 4) != "WEBP")
            throw VermeoError(QStringLiteral("ce n'est pas un fichier WebP"));
        throw damaged(data.size() < 30 ? QStringLiteral("fichier tronqué") : QStringLiteral("structure invalide"));
    }
    const long long w = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH);
    const long long h = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT);
    if (!isHoldableSize(w, h) || !compressedFileCouldHold(w, h, data.size()))
        throw VermeoError(QStringLiteral("fichier WebP refusé (taille %1 x %2)").arg(w).arg(h));
    // Of an animation, the first frame, on a white canvas.
    WebPIterator frame;
    if (!WebPDemuxGetFrame(demux.get(), 1, &frame))
        throw damaged(QStringLiteral("aucune image"));
    const std::unique_ptr<WebPIterator, void (*)(WebPIterator *)> frameGuard(&frame, WebPDemuxReleaseIterator);
    if (frame.x_offset < 0 || frame.y_offset < 0 || frame.width <= 0 || frame.height <= 0 ||
        frame.x_offset + (long long)frame.width > w || frame.y_offset + (long long)frame.height > h)
        throw damaged(QStringLiteral("image hors du cadre"));
    const bool covers = frame.width == w && frame.height == h;
    Picture pic;
    pic.image = covers ? newWorkingImage(int(w), int(h)) : newWorkingImage(int(w), int(h), 0xFFFFFFFFu);
    QImage frameImage;
    if (!covers)
        frameImage = newWorkingImage(frame.width, frame.height);
    QImage &target = covers ? pic.image : frameImage;

    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config))
        throw damaged(QStringLiteral("version de libwebp"));
    config.options.use_threads = 1;
    config.output.colorspace = MODE_BGRA; // working pixels, alpha not premultiplied
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = target.bits();
    config.output.u.RGBA.stride = int(target.bytesPerLine());
    config.output.u.RGBA.size = size_t(target.sizeInBytes());
    const VP8StatusCode status = WebPDecode(frame.fragment.bytes, frame.fragment.size, &config);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK) {
        qCInfo(lcFormats) << "libwebp status" << int(status);
        throw damaged(frenchReason(status));
    }
    if (frame.has_alpha)
        layOnWhite(target);
    if (!covers) {
        const RowsOf<QRgb> to = rowsOf(pic.image);
        const RowsOf<const QRgb> from = rowsOf(std::as_const(target));
        for (int y = 0; y < frame.height; ++y)
            std::copy(from[y], from[y] + frame.width, to[frame.y_offset + y] + frame.x_offset);
    }
    WebPChunkIterator icc;
    if (WebPDemuxGetChunk(demux.get(), "ICCP", 1, &icc)) {
        const QByteArray profile(reinterpret_cast<const char *>(icc.chunk.bytes), qsizetype(icc.chunk.size));
        WebPDemuxReleaseChunkIterator(&icc);
        if (auto colour = SrgbConversion::fromIcc(profile, ProfilePixels::Working))
            colour->convertPicture(pic.image);
    }
    return pic;
}

bool isLosslessWebp(const QByteArray &data)
{
    WebPBitstreamFeatures features;
    return WebPGetFeatures(reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()), &features) ==
               VP8_STATUS_OK &&
           features.format == 2;
}

namespace {
struct SinkWriter {
    ByteSink *sink;
    QString failure;
};

extern "C" int writeToSink(const uint8_t *data, size_t size, const WebPPicture *picture)
{
    auto *w = static_cast<SinkWriter *>(picture->custom_ptr);
    try {
        w->sink->write(data, qint64(size));
        return 1;
    } catch (const VermeoError &e) {
        w->failure = e.message();
        return 0;
    }
}
} // namespace

void writeWebp(const Picture &pic, ByteSink &sink, bool lossless)
{
    if (pic.isNull())
        throw VermeoError(QStringLiteral("image vide"));
    if (pic.width() > kMaxWebpSide || pic.height() > kMaxWebpSide)
        throw VermeoError(QStringLiteral("image trop grande pour le format WebP (16 383 points au plus)"));
    WebPConfig config;
    if (!WebPConfigInit(&config))
        throw VermeoError(QStringLiteral("écriture WebP impossible (version de libwebp)"));
    // cwebp's defaults: quality 90 for lossy pictures, effort 75 and method 4 for lossless.
    config.lossless = lossless ? 1 : 0;
    config.quality = lossless ? 75.0f : 90.0f;
    config.method = 4;
    config.thread_level = 1;
    WebPPicture wp;
    if (!WebPPictureInit(&wp))
        throw VermeoError(QStringLiteral("écriture WebP impossible (version de libwebp)"));
    const std::unique_ptr<WebPPicture, void (*)(WebPPicture *)> guard(&wp, WebPPictureFree);
    wp.use_argb = lossless ? 1 : 0;
    wp.width = pic.width();
    wp.height = pic.height();
    const QImage working = toWorkingImage(pic.image);
    if (!WebPPictureImportBGRX(&wp, working.constBits(), int(working.bytesPerLine())))
        throw VermeoError(QStringLiteral("mémoire insuffisante"));
    SinkWriter writer{&sink, {}};
    wp.writer = writeToSink;
    wp.custom_ptr = &writer;
    if (!WebPEncode(&config, &wp)) {
        if (!writer.failure.isEmpty())
            throw VermeoError(writer.failure);
        qCInfo(lcFormats) << "libwebp encoding error" << int(wp.error_code);
        throw VermeoError(wp.error_code == VP8_ENC_ERROR_OUT_OF_MEMORY ? QStringLiteral("mémoire insuffisante")
                                                                       : QStringLiteral("écriture WebP impossible"));
    }
}

QByteArray encodeWebp(const Picture &pic, bool lossless)
{
    QByteArray out;
    ArraySink sink(out);
    writeWebp(pic, sink, lossless);
    return out;
}

} // namespace vermeo::formats
