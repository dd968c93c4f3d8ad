#include "JpegCodec.h"
#include "ByteIO.h"
#include "ColourProfile.h"
#include "Error.h"
#include "FormatsLog.h"
#include "Orientation.h"
#include "Parallel.h"
#include "PhotoMetadata.h"
#include "Truncation.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace vermeo::formats {

bool jpegSizePlausible(long long width, long long height, qsizetype bytes)
{
    // Even a flat picture needs some bytes per 8 x 8 block; past 16 megapixels, under one
    // byte per 1024 pixels is no real photo: both are refused before anything is allocated.
    const long long pixels = width * height;
    return isHoldableSize(width, height) && pixels <= (long long)bytes * 4096 + (1 << 20) &&
           (pixels <= (16LL << 20) || pixels <= (long long)bytes * 1024);
}

namespace {
struct SinkDestination;

// Everything that must survive a longjmp lives here, reached through a pointer.
struct JpegContext {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    int code = 0;
    QImage image;
    std::vector<JSAMPLE> row;
    SinkDestination *dest = nullptr;
    int fullWidth = 0, fullHeight = 0;
    Resolution resolution;
    int orientation = 1;
    JOCTET *icc = nullptr; // libjpeg's malloc
    unsigned int iccLength = 0;
    const SrgbConversion *colour = nullptr;
    jpeg_progress_mgr progress{};
    bool *truncated = nullptr; // where given, a premature end keeps what was read
    bool strict = false;       // any warning fails (a part decoded on its own)

    JpegContext() = default;
    JpegContext(const JpegContext &) = delete;
    JpegContext &operator=(const JpegContext &) = delete;
    ~JpegContext() { std::free(icc); }
};

// A JFIF density in dots per inch (unit 1) or per centimetre (unit 2); unit 0 gives
// only the pixels' shape.
Resolution jfifResolution(const jpeg_decompress_struct &c)
{
    if (!c.saw_JFIF_marker || c.X_density == 0 || c.Y_density == 0 || (c.density_unit != 1 && c.density_unit != 2))
        return {};
    const double toMetre = c.density_unit == 1 ? 1 / 0.0254 : 100;
    return {int(std::lround(c.X_density * toMetre)), int(std::lround(c.Y_density * toMetre))};
}

extern "C" void jpegErrorExit(j_common_ptr cinfo)
{
    auto *ctx = static_cast<JpegContext *>(cinfo->client_data);
    (*cinfo->err->format_message)(cinfo, ctx->message);
    ctx->code = cinfo->err->msg_code;
    std::longjmp(ctx->jump, 1);
}

// Warnings are not shown, but the data's premature end is a truncated file: an error,
// or noted where the caller takes the part that could be read.
extern "C" void jpegWarning(j_common_ptr cinfo, int level)
{
    auto *ctx = static_cast<JpegContext *>(cinfo->client_data);
    if (level < 0 && ctx->strict) {
        ctx->code = cinfo->err->msg_code;
        std::longjmp(ctx->jump, 1);
    }
    if (level >= 0 || cinfo->err->msg_code != JWRN_JPEG_EOF)
        return;
    if (ctx->truncated) {
        *ctx->truncated = true;
        return;
    }
    ctx->code = JERR_INPUT_EOF;
    std::longjmp(ctx->jump, 1);
}

// libjpeg-turbo's own fuzzing harness bound: real progressive files have about ten
// scans, and each scan of a hostile one costs a pass over the whole picture.
constexpr int kMaxScans = 500;

extern "C" void jpegProgress(j_common_ptr cinfo)
{
    auto *d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number <= kMaxScans)
        return;
    auto *ctx = static_cast<JpegContext *>(cinfo->client_data);
    std::snprintf(ctx->message, sizeof ctx->message, "plus de %d passes progressives", kMaxScans);
    ctx->code = 0;
    std::longjmp(ctx->jump, 1);
}

template <class Struct>
void installErrors(JpegContext &ctx, Struct &cinfo)
{
    cinfo.client_data = &ctx;
    cinfo.err = jpeg_std_error(&ctx.pub);
    ctx.pub.error_exit = jpegErrorExit;
    ctx.pub.emit_message = jpegWarning;
}

// libjpeg's own text goes to the log; the user reads the French reason.
QString frenchReason(const JpegContext &ctx)
{
    qCInfo(lcFormats) << "libjpeg" << ctx.code << ctx.message;
    switch (ctx.code) {
    case JERR_NO_SOI: return QStringLiteral("ce n'est pas un fichier JPEG");
    case JERR_INPUT_EMPTY: return QStringLiteral("fichier vide");
    case JERR_INPUT_EOF: return QStringLiteral("fichier tronqué");
    case JERR_OUT_OF_MEMORY:
    case JERR_VIRTUAL_BUG: return QStringLiteral("mémoire insuffisante");
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW: return QStringLiteral("image trop grande");
    case 0: return QString::fromUtf8(ctx.message); // our own reasons
    default: return QStringLiteral("données invalides");
    }
}

VermeoError jpegError(const char *what, const JpegContext &ctx)
{
    if (ctx.code == JERR_INPUT_EOF)
        return VermeoError(truncatedReason());
    return VermeoError(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(what), frenchReason(ctx)));
}

// Returns false on failure (the message is in ctx); no C++ object is created or
// destroyed between setjmp and the last libjpeg call.
bool decodeInto(JpegContext *ctx, jpeg_decompress_struct *cinfo, const QByteArray *data, const QSize *atLeast)
{
    if (setjmp(ctx->jump)) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    jpeg_create_decompress(cinfo);
    ctx->progress.progress_monitor = jpegProgress;
    cinfo->progress = &ctx->progress;
    // Bounded working memory: a damaged progressive file cannot make it take more.
    cinfo->mem->max_memory_to_use = 1500L * 1024 * 1024;
    jpeg_mem_src(cinfo, bytesOf(*data), (unsigned long)data->size());
    // EXIF (orientation) and ICC markers are kept; the others are skipped.
    jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(cinfo, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(cinfo, TRUE);
    ctx->resolution = jfifResolution(*cinfo);
    for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && ctx->orientation == 1)
            ctx->orientation = exifOrientation(m->data, m->data_length);
    if (!jpeg_read_icc_profile(cinfo, &ctx->icc, &ctx->iccLength))
        ctx->iccLength = 0;
    const long long w = cinfo->image_width, h = cinfo->image_height;
    if (!jpegSizePlausible(w, h, data->size())) {
        std::snprintf(ctx->message, sizeof ctx->message, "taille %lld x %lld", w, h);
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    if (cmyk)
        cinfo->out_color_space = JCS_CMYK;
    else if (cinfo->jpeg_color_space == JCS_GRAYSCALE)
        cinfo->out_color_space = JCS_GRAYSCALE;
    else
        cinfo->out_color_space = JCS_EXT_BGRX; // the memory layout of RGB32
    ctx->fullWidth = int(w);
    ctx->fullHeight = int(h);
    // libjpeg's scaled decoding skips most of the work: the largest reduction (down to
    // an eighth) that still covers the requested size on both sides.
    // The requested size is the upright picture's: a sideways photo is stored across.
    const QSize want = atLeast && ctx->orientation >= 5 ? atLeast->transposed() : atLeast ? *atLeast : QSize();
    if (atLeast && w > want.width() && h > want.height()) {
        for (int denom : {8, 4, 2}) {
            if ((w + denom - 1) / denom >= want.width() && (h + denom - 1) / denom >= want.height()) {
                cinfo->scale_num = 1;
                cinfo->scale_denom = unsigned(denom);
                break;
            }
        }
    }
    jpeg_calc_output_dimensions(cinfo);
    const JDIMENSION expectW = cinfo->output_width, expectH = cinfo->output_height;
    jpeg_start_decompress(cinfo);
    if (cinfo->output_width != expectW || cinfo->output_height != expectH) {
        std::snprintf(ctx->message, sizeof ctx->message, "taille incohérente");
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    return true;
}

// Colour rows from the next one up to last - 1 straight into the working picture, as
// many at a time as libjpeg has ready.
void readColourRows(jpeg_decompress_struct *cinfo, RowsOf<QRgb> rows, JDIMENSION last)
{
    while (cinfo->output_scanline < last) {
        JSAMPROW batch[16];
        const unsigned left = std::min(16u, last - cinfo->output_scanline);
        for (unsigned i = 0; i < left; ++i)
            batch[i] = bytesOf(rows[int(cinfo->output_scanline + i)]);
        jpeg_read_scanlines(cinfo, batch, left);
    }
}

bool readRows(JpegContext *ctx, jpeg_decompress_struct *cinfo)
{
    if (setjmp(ctx->jump)) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    const bool cmyk = cinfo->out_color_space == JCS_CMYK;
    const bool grey = cinfo->out_color_space == JCS_GRAYSCALE;
    // Adobe writes CMYK inverted; so do nearly all files that carry its marker.
    const bool inverted = cmyk && cinfo->saw_Adobe_marker;
    const unsigned w = cinfo->output_width;
    const RowsOf<QRgb> rows = rowsOf(ctx->image);
    if (!cmyk && !grey)
        readColourRows(cinfo, rows, cinfo->output_height);
    while (cinfo->output_scanline < cinfo->output_height) {
        QRgb *dst = rows[int(cinfo->output_scanline)];
        JSAMPROW one[1] = {ctx->row.data()};
        jpeg_read_scanlines(cinfo, one, 1);
        const JSAMPLE *s = ctx->row.data();
        if (ctx->colour) {
            ctx->colour->convertRow(s, dst, int(w));
        } else if (grey) {
            for (unsigned x = 0; x < w; ++x)
                dst[x] = qRgb(s[x], s[x], s[x]);
        } else {
            for (unsigned x = 0; x < w; ++x, s += 4) {
                int c = s[0], m = s[1], y = s[2], k = s[3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    y = 255 - y;
                    k = 255 - k;
                }
                dst[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
            }
        }
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return true;
}

// Whether an end-of-image marker follows the last scan's start: entropy-coded data hold
// 0xFF only before 0x00 or a restart marker, so a file cut short has none after it (an
// EXIF thumbnail's own markers come before the picture's scans).
bool hasEndMarker(const QByteArray &data)
{
    const qsizetype scan = data.lastIndexOf(QByteArrayView("\xFF\xDA", 2));
    return scan >= 0 && data.lastIndexOf(QByteArrayView("\xFF\xD9", 2)) > scan;
}

// Colour rows first .. last - 1 of a started decompression straight into rows, the rows
// above skipped (libjpeg-turbo reads their data without making their pixels); the
// decompression is let go after them. Returns false on any error.
bool readPart(JpegContext *ctx, jpeg_decompress_struct *cinfo, RowsOf<QRgb> rows, JDIMENSION first, JDIMENSION last)
{
    if (setjmp(ctx->jump)) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    if (first > 0 && jpeg_skip_scanlines(cinfo, first) != first) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    readColourRows(cinfo, rows, last);
    jpeg_destroy_decompress(cinfo);
    return true;
}

// A large single-scan colour picture is decoded in two parts at once: the top on this
// thread, the bottom by a second decompression of its own on another, which goes
// through the top's data without making its pixels. The top takes the larger share for
// that. The pixels are those of one decompression; on any error or warning, or a file
// without its end, nothing is kept and false is returned (cinfo is let go either way).
bool readInTwoParts(JpegContext *ctx, jpeg_decompress_struct *cinfo, const QByteArray &data, const QSize *atLeast)
{
    const JDIMENSION h = cinfo->output_height;
    const JDIMENSION split = (h * 5 / 9) & ~15u;
    std::unique_ptr<JpegContext> bottom;
    jpeg_decompress_struct other;
    std::memset(&other, 0, sizeof other);
    const RowsOf<QRgb> rows = rowsOf(ctx->image);
    bool bottomRead = false;
    std::thread second;
    const auto readBottom = [&] {
        bottomRead = decodeInto(bottom.get(), &other, &data, atLeast);
        if (!bottomRead)
            return;
        if (other.output_width != cinfo->output_width || other.output_height != h ||
            other.out_color_space != cinfo->out_color_space) {
            jpeg_destroy_decompress(&other);
            bottomRead = false;
            return;
        }
        bottomRead = readPart(bottom.get(), &other, rows, split, h);
    };
    try {
        bottom = std::make_unique<JpegContext>();
        installErrors(*bottom, other);
        bottom->strict = true;
        bottom->orientation = ctx->orientation;
        second = std::thread(readBottom);
    } catch (...) {
        // No memory or no thread to be had: the caller decodes the whole file instead.
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    ctx->strict = true;
    const bool topRead = readPart(ctx, cinfo, rows, 0, split);
    ctx->strict = false;
    second.join();
    return topRead && bottomRead;
}

bool decodesInTwoParts(jpeg_decompress_struct &cinfo, const QByteArray &data)
{
    return passThreads() >= 2 && cinfo.out_color_space == JCS_EXT_BGRX && !jpeg_has_multiple_scans(&cinfo) &&
           cinfo.output_height >= 512 && (long long)cinfo.output_width * cinfo.output_height >= (2LL << 20) &&
           hasEndMarker(data);
}
} // namespace

namespace {
Picture decodeJpegAt(const QByteArray &data, const QSize *atLeast, QSize *fullSize, bool *truncated)
{
    auto ctx = std::make_unique<JpegContext>();
    ctx->truncated = truncated;
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    installErrors(*ctx, cinfo);
    if (!decodeInto(ctx.get(), &cinfo, &data, atLeast))
        throw jpegError("fichier JPEG illisible", *ctx);
    try {
        ctx->image = newDecodedPicture(int(cinfo.output_width), int(cinfo.output_height));
    } catch (...) {
        jpeg_destroy_decompress(&cinfo);
        throw;
    }
    ctx->row.resize(size_t(cinfo.output_width) * 4);
    // Grey and CMYK rows are converted as they come; colour ones once decoded, on both
    // cores.
    std::unique_ptr<SrgbConversion> colour;
    try {
        const QByteArray icc =
            QByteArray::fromRawData(reinterpret_cast<const char *>(ctx->icc), qsizetype(ctx->iccLength));
        colour = SrgbConversion::fromIcc(icc, cinfo.out_color_space == JCS_GRAYSCALE ? ProfilePixels::Grey8
                                              : cinfo.out_color_space != JCS_CMYK    ? ProfilePixels::Working
                                              : cinfo.saw_Adobe_marker               ? ProfilePixels::InvertedCmyk8
                                                                                     : ProfilePixels::Cmyk8);
    } catch (...) {
        jpeg_destroy_decompress(&cinfo);
        throw;
    }
    const bool inRows = cinfo.out_color_space == JCS_GRAYSCALE || cinfo.out_color_space == JCS_CMYK;
    ctx->colour = inRows ? colour.get() : nullptr;
    if (!decodesInTwoParts(cinfo, data)) {
        if (!readRows(ctx.get(), &cinfo))
            throw jpegError("fichier JPEG endommagé", *ctx);
    } else if (!readInTwoParts(ctx.get(), &cinfo, data, atLeast)) {
        // The parts gave up: the whole file again, in one decompression, as it reads.
        auto again = std::make_unique<JpegContext>();
        again->truncated = truncated;
        std::memset(&cinfo, 0, sizeof cinfo);
        installErrors(*again, cinfo);
        if (!decodeInto(again.get(), &cinfo, &data, atLeast))
            throw jpegError("fichier JPEG illisible", *again);
        again->image = std::move(ctx->image);
        if (!readRows(again.get(), &cinfo))
            throw jpegError("fichier JPEG endommagé", *again);
        ctx->image = std::move(again->image);
    }
    if (colour && !inRows)
        colour->convertPicture(ctx->image);
    // Upright as the camera meant it; the size given is the upright one too.
    const bool across = ctx->orientation >= 5;
    if (fullSize)
        *fullSize = across ? QSize(ctx->fullHeight, ctx->fullWidth) : QSize(ctx->fullWidth, ctx->fullHeight);
    Picture pic;
    pic.image = uprightImage(ctx->image, ctx->orientation);
    pic.depth = 24;
    pic.resolution = ctx->resolution;
    return pic;
}
} // namespace

namespace {
bool readHeaderOnly(JpegContext *ctx, jpeg_decompress_struct *cinfo, const QByteArray *data)
{
    if (setjmp(ctx->jump)) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, bytesOf(*data), (unsigned long)data->size());
    jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(cinfo, TRUE);
    for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && ctx->orientation == 1)
            ctx->orientation = exifOrientation(m->data, m->data_length);
    ctx->fullWidth = int(cinfo->image_width);
    ctx->fullHeight = int(cinfo->image_height);
    jpeg_destroy_decompress(cinfo);
    return true;
}

} // namespace

QSize jpegFileSize(const QByteArray &data)
{
    auto ctx = std::make_unique<JpegContext>();
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    installErrors(*ctx, cinfo);
    if (!readHeaderOnly(ctx.get(), &cinfo, &data))
        throw jpegError("fichier JPEG illisible", *ctx);
    if (!jpegSizePlausible(ctx->fullWidth, ctx->fullHeight, data.size()))
        throw VermeoError(
            QStringLiteral("fichier JPEG illisible (taille %1 x %2)").arg(ctx->fullWidth).arg(ctx->fullHeight));
    if (data.count(QByteArrayView("\xFF\xDA", 2)) > kMaxScans)
        throw VermeoError(QStringLiteral("fichier JPEG illisible (plus de %1 passes progressives)").arg(kMaxScans));
    if (!hasEndMarker(data))
        throw VermeoError(truncatedReason());
    return ctx->orientation >= 5 ? QSize(ctx->fullHeight, ctx->fullWidth) : QSize(ctx->fullWidth, ctx->fullHeight);
}

Picture decodeJpeg(const QByteArray &data, bool *truncated) { return decodeJpegAt(data, nullptr, nullptr, truncated); }

Picture decodeJpegReduced(const QByteArray &data, QSize atLeast, QSize *fullSize)
{
    return decodeJpegAt(data, &atLeast, fullSize, nullptr);
}

namespace {
// Compressed bytes go to the sink through one 64 KB buffer. A sink that fails is noted
// here: no C++ exception may cross libjpeg's C frames.
struct SinkDestination {
    jpeg_destination_mgr pub;
    ByteSink *sink;
    std::vector<JOCTET> buffer = std::vector<JOCTET>(65536);
    bool failed = false;
    QString failure;

    void flush(size_t n)
    {
        if (failed || n == 0)
            return;
        try {
            sink->write(buffer.data(), qint64(n));
        } catch (const VermeoError &e) {
            failed = true;
            failure = e.message();
        }
    }
};

extern "C" void destInit(j_compress_ptr cinfo)
{
    SinkDestination *d = static_cast<JpegContext *>(cinfo->client_data)->dest;
    d->pub.next_output_byte = d->buffer.data();
    d->pub.free_in_buffer = d->buffer.size();
}

extern "C" boolean destEmpty(j_compress_ptr cinfo)
{
    SinkDestination *d = static_cast<JpegContext *>(cinfo->client_data)->dest;
    d->flush(d->buffer.size());
    destInit(cinfo);
    return TRUE;
}

extern "C" void destTerm(j_compress_ptr cinfo)
{
    SinkDestination *d = static_cast<JpegContext *>(cinfo->client_data)->dest;
    d->flush(d->buffer.size() - d->pub.free_in_buffer);
}

bool startCompress(JpegContext *ctx, jpeg_compress_struct *cinfo, SinkDestination *dest, int w, int h, int quality,
                   Resolution res)
{
    if (setjmp(ctx->jump)) {
        jpeg_destroy_compress(cinfo);
        return false;
    }
    jpeg_create_compress(cinfo);
    cinfo->dest = &dest->pub;
    cinfo->image_width = JDIMENSION(w);
    cinfo->image_height = JDIMENSION(h);
    cinfo->input_components = 4;
    cinfo->in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    if (res.known()) {
        // Dots per inch, as pictures are mostly made (300 dpi comes back as 11811 per metre).
        cinfo->density_unit = 1;
        cinfo->X_density = UINT16(std::clamp<long>(std::lround(res.x * 0.0254), 1, 65535));
        cinfo->Y_density = UINT16(std::clamp<long>(std::lround(res.y * 0.0254), 1, 65535));
    }
    jpeg_start_compress(cinfo, TRUE);
    return true;
}

bool compressRows(JpegContext *ctx, jpeg_compress_struct *cinfo, JSAMPROW *rows, int count, bool last)
{
    if (setjmp(ctx->jump)) {
        jpeg_destroy_compress(cinfo);
        return false;
    }
    for (int done = 0; done < count;)
        done += int(jpeg_write_scanlines(cinfo, rows + done, JDIMENSION(count - done)));
    if (last) {
        jpeg_finish_compress(cinfo);
        jpeg_destroy_compress(cinfo);
    }
    return true;
}

class JpegRowWriter : public RowWriter {
public:
    JpegRowWriter(ByteSink &sink, const PictureShape &s, int quality) : m_height(s.height)
    {
        if (s.width > 65500 || s.height > 65500)
            throw VermeoError(QStringLiteral("image trop grande pour le format JPEG (65 500 points au plus)"));
        std::memset(&m_cinfo, 0, sizeof m_cinfo);
        installErrors(m_ctx, m_cinfo);
        m_ctx.dest = &m_dest;
        m_dest.sink = &sink;
        m_dest.pub.init_destination = destInit;
        m_dest.pub.empty_output_buffer = destEmpty;
        m_dest.pub.term_destination = destTerm;
        if (!startCompress(&m_ctx, &m_cinfo, &m_dest, s.width, s.height, quality, s.resolution))
            throw jpegError("écriture JPEG impossible", m_ctx);
        m_open = true;
    }
    ~JpegRowWriter() override
    {
        if (m_open)
            jpeg_destroy_compress(&m_cinfo);
    }

    void writeRows(RowsOf<const QRgb> rows, int count) override
    {
        m_rows.resize(size_t(count));
        for (int i = 0; i < count; ++i)
            m_rows[size_t(i)] = const_cast<JSAMPROW>(bytesOf(rows[i]));
        m_written += count;
        const bool last = m_written >= m_height;
        if (!compressRows(&m_ctx, &m_cinfo, m_rows.data(), count, last)) {
            m_open = false;
            throw jpegError("écriture JPEG impossible", m_ctx);
        }
        if (last)
            m_open = false;
        if (m_dest.failed)
            throw VermeoError(m_dest.failure);
    }

private:
    JpegContext m_ctx;
    jpeg_compress_struct m_cinfo;
    SinkDestination m_dest;
    std::vector<JSAMPROW> m_rows;
    int m_height;
    int m_written = 0;
    bool m_open = false;
};
} // namespace

std::unique_ptr<RowWriter> jpegWriter(ByteSink &sink, const PictureShape &shape, int quality)
{
    return std::make_unique<JpegRowWriter>(sink, shape, quality);
}

QByteArray encodeJpeg(const Picture &pic, int quality)
{
    if (pic.isNull())
        throw VermeoError(QStringLiteral("image vide"));
    QByteArray out;
    ArraySink sink(out);
    JpegRowWriter w(sink, {pic.width(), pic.height(), 24, {}, pic.resolution}, quality);
    writeAllRows(w, toWorkingImage(pic.image));
    return out;
}

} // namespace vermeo::formats
