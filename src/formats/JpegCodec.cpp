#include "JpegCodec.h"
#include "Error.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace vermeo::formats {

namespace {
// Everything that must survive a longjmp lives here, reached through a pointer.
struct JpegContext {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    QImage image;
    std::vector<JSAMPLE> row;
};

extern "C" void jpegErrorExit(j_common_ptr cinfo)
{
    auto *ctx = reinterpret_cast<JpegContext *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, ctx->message);
    std::longjmp(ctx->jump, 1);
}

extern "C" void jpegQuiet(j_common_ptr, int) {}

VermeoError jpegError(const char *what, const char *detail)
{
    return VermeoError(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(what), QString::fromLocal8Bit(detail)));
}

// Returns a message, or nullptr on success; no C++ object is created or destroyed
// between setjmp and the last libjpeg call.
const char *decodeInto(JpegContext *ctx, jpeg_decompress_struct *cinfo, const QByteArray *data)
{
    if (setjmp(ctx->jump)) {
        jpeg_destroy_decompress(cinfo);
        return ctx->message;
    }
    jpeg_create_decompress(cinfo);
    // Bounded working memory: a damaged progressive file cannot make it take more.
    cinfo->mem->max_memory_to_use = 1500L * 1024 * 1024;
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char *>(data->constData()), (unsigned long)data->size());
    jpeg_read_header(cinfo, TRUE);
    const long long w = cinfo->image_width, h = cinfo->image_height;
    // Even a flat picture needs some bytes per 8 x 8 block; refuse sizes no file this
    // small could hold before anything is allocated for them.
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || w * h > kMaxPixels
        || w * h > (long long)data->size() * 4096 + (1 << 20)) {
        std::snprintf(ctx->message, sizeof ctx->message, "taille %lld x %lld", w, h);
        jpeg_destroy_decompress(cinfo);
        return ctx->message;
    }
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    if (cmyk)
        cinfo->out_color_space = JCS_CMYK;
    else if (cinfo->jpeg_color_space == JCS_GRAYSCALE)
        cinfo->out_color_space = JCS_GRAYSCALE;
    else
        cinfo->out_color_space = JCS_EXT_BGRX; // the memory layout of RGB32
    jpeg_start_decompress(cinfo);
    if (cinfo->output_width != w || cinfo->output_height != h) {
        std::snprintf(ctx->message, sizeof ctx->message, "taille incohérente");
        jpeg_destroy_decompress(cinfo);
        return ctx->message;
    }
    return nullptr;
}

const char *readRows(JpegContext *ctx, jpeg_decompress_struct *cinfo)
{
    if (setjmp(ctx->jump)) {
        jpeg_destroy_decompress(cinfo);
        return ctx->message;
    }
    const bool cmyk = cinfo->out_color_space == JCS_CMYK;
    const bool grey = cinfo->out_color_space == JCS_GRAYSCALE;
    // Adobe writes CMYK inverted; so do nearly all files that carry its marker.
    const bool inverted = cmyk && cinfo->saw_Adobe_marker;
    const unsigned w = cinfo->output_width;
    while (cinfo->output_scanline < cinfo->output_height) {
        uchar *line = ctx->image.scanLine(int(cinfo->output_scanline));
        if (!cmyk && !grey) {
            JSAMPROW rows[1] = {line};
            jpeg_read_scanlines(cinfo, rows, 1);
            continue;
        }
        JSAMPROW rows[1] = {ctx->row.data()};
        jpeg_read_scanlines(cinfo, rows, 1);
        QRgb *dst = reinterpret_cast<QRgb *>(line);
        const JSAMPLE *s = ctx->row.data();
        if (grey) {
            for (unsigned x = 0; x < w; ++x)
                dst[x] = qRgb(s[x], s[x], s[x]);
        } else {
            for (unsigned x = 0; x < w; ++x, s += 4) {
                int c = s[0], m = s[1], y = s[2], k = s[3];
                if (!inverted) {
                    c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k;
                }
                dst[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
            }
        }
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return nullptr;
}
} // namespace

Picture decodeJpeg(const QByteArray &data)
{
    auto ctx = std::make_unique<JpegContext>();
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&ctx->pub);
    ctx->pub.error_exit = jpegErrorExit;
    ctx->pub.emit_message = jpegQuiet;
    if (const char *why = decodeInto(ctx.get(), &cinfo, &data))
        throw jpegError("fichier JPEG illisible", why);
    ctx->image = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB32);
    if (ctx->image.isNull()) {
        jpeg_destroy_decompress(&cinfo);
        throw VermeoError(QStringLiteral("mémoire insuffisante"));
    }
    ctx->row.resize(size_t(cinfo.output_width) * 4);
    if (const char *why = readRows(ctx.get(), &cinfo))
        throw jpegError("fichier JPEG endommagé", why);
    return Picture::fromImage(ctx->image);
}

namespace {
const char *encodeFrom(JpegContext *ctx, jpeg_compress_struct *cinfo, const QImage *img, int quality,
                       unsigned char **buf, unsigned long *size)
{
    if (setjmp(ctx->jump)) {
        jpeg_destroy_compress(cinfo);
        return ctx->message;
    }
    jpeg_create_compress(cinfo);
    jpeg_mem_dest(cinfo, buf, size);
    cinfo->image_width = JDIMENSION(img->width());
    cinfo->image_height = JDIMENSION(img->height());
    cinfo->input_components = 4;
    cinfo->in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW rows[1] = {const_cast<uchar *>(img->constScanLine(int(cinfo->next_scanline)))};
        jpeg_write_scanlines(cinfo, rows, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return nullptr;
}
} // namespace

QByteArray encodeJpeg(const Picture &pic, int quality)
{
    if (pic.isNull())
        throw VermeoError(QStringLiteral("image vide"));
    if (pic.width() > 65500 || pic.height() > 65500)
        throw VermeoError(QStringLiteral("image trop grande pour le format JPEG (65 500 points au plus)"));
    auto ctx = std::make_unique<JpegContext>();
    jpeg_compress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&ctx->pub);
    ctx->pub.error_exit = jpegErrorExit;
    ctx->pub.emit_message = jpegQuiet;
    unsigned char *buf = nullptr;
    unsigned long size = 0;
    const QImage img = toWorkingImage(pic.image);
    const char *why = encodeFrom(ctx.get(), &cinfo, &img, quality, &buf, &size);
    QByteArray out;
    if (!why)
        out = QByteArray(reinterpret_cast<const char *>(buf), qsizetype(size));
    std::free(buf);
    if (why)
        throw jpegError("écriture JPEG impossible", why);
    return out;
}

} // namespace vermeo::formats
