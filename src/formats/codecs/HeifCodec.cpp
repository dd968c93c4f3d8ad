#include "HeifCodec.h"
#include "ByteIO.h"
#include "ColourProfile.h"
#include "DeclaredSize.h"
#include "Error.h"
#include "FormatsLog.h"
#include "HeifLibrary.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <algorithm>
#include <memory>

namespace vermeo::formats {

namespace {
struct HeifDeleter {
    void operator()(heif_context *c) const { heifLibrary().context_free(c); }
    void operator()(heif_image_handle *h) const { heifLibrary().image_handle_release(h); }
    void operator()(heif_image *i) const { heifLibrary().image_release(i); }
    void operator()(heif_decoding_options *o) const { heifLibrary().decoding_options_free(o); }
    void operator()(heif_color_profile_nclx *n) const { heifLibrary().nclx_color_profile_free(n); }
};
template <class T>
using HeifPtr = std::unique_ptr<T, HeifDeleter>;

// The brand names the format in messages.
QString formatName(const QByteArray &data)
{
    const QByteArray brand = data.mid(8, 4);
    return brand == "avif" || brand == "avis" ? QStringLiteral("AVIF") : QStringLiteral("HEIF");
}

QString frenchReason(const heif_error &e)
{
    qCInfo(lcFormats) << "libheif" << int(e.code) << int(e.subcode) << (e.message ? e.message : "");
    if (e.subcode == heif_suberror_Security_limit_exceeded)
        return QStringLiteral("image trop grande");
    if (e.subcode == heif_suberror_Unsupported_codec)
        return QStringLiteral("aucun décodeur pour ce codage");
    switch (e.code) {
    case heif_error_Unsupported_filetype: return QStringLiteral("format non reconnu");
    case heif_error_Unsupported_feature: return QStringLiteral("variante non prise en charge");
    case heif_error_Memory_allocation_error: return QStringLiteral("mémoire insuffisante");
    default: return QStringLiteral("données invalides");
    }
}

// The conversion the file's colour description asks for, if any.
std::unique_ptr<SrgbConversion> colourOf(const heif_image_handle *handle)
{
    switch (heifLibrary().image_handle_get_color_profile_type(handle)) {
    case heif_color_profile_type_prof:
    case heif_color_profile_type_rICC: {
        QByteArray icc(qsizetype(heifLibrary().image_handle_get_raw_color_profile_size(handle)), Qt::Uninitialized);
        if (icc.isEmpty() || heifLibrary().image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok)
            return nullptr;
        return SrgbConversion::fromIcc(icc, ProfilePixels::Working);
    }
    case heif_color_profile_type_nclx: {
        heif_color_profile_nclx *raw = nullptr;
        const heif_error e = heifLibrary().image_handle_get_nclx_color_profile(handle, &raw);
        // libheif may hand over a profile with its error: it is ours to free either way.
        const HeifPtr<heif_color_profile_nclx> nclx(raw);
        if (e.code != heif_error_Ok || !nclx)
            return nullptr;
        // BT.709 primaries are sRGB's; HDR transfers (PQ, HLG) are beyond an 8-bit picture.
        const auto primaries = nclx->color_primaries;
        const auto transfer = nclx->transfer_characteristics;
        if (primaries == heif_color_primaries_ITU_R_BT_709_5 || primaries == heif_color_primaries_unspecified ||
            transfer == heif_transfer_characteristic_ITU_R_BT_2100_0_PQ ||
            transfer == heif_transfer_characteristic_ITU_R_BT_2100_0_HLG)
            return nullptr;
        Primaries p{nclx->color_primary_red_x,   nclx->color_primary_red_y,  nclx->color_primary_green_x,
                    nclx->color_primary_green_y, nclx->color_primary_blue_x, nclx->color_primary_blue_y,
                    nclx->color_primary_white_x, nclx->color_primary_white_y};
        p.gamma = transfer == heif_transfer_characteristic_linear ? 1.0 : 0.0;
        return SrgbConversion::fromPrimaries(p);
    }
    default: return nullptr;
    }
}

// R, G, B (and A) bytes to working pixels, an alpha laid on white.
void toWorking(const uint8_t *src, int stride, bool alpha, QImage &out)
{
    const RowsOf<QRgb> rows = rowsOf(out);
    const int w = out.width();
    forBandsInParallel(out.height(), 64, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const uint8_t *s = src + qsizetype(y) * stride;
            QRgb *d = rows[y];
            if (!alpha) {
                for (int x = 0; x < w; ++x, s += 3)
                    d[x] = qRgb(s[0], s[1], s[2]);
                continue;
            }
            for (int x = 0; x < w; ++x, s += 4)
                d[x] = laidOnWhite(s[0], s[1], s[2], s[3]);
        }
    });
}
} // namespace

Picture decodeHeif(const QByteArray &data)
{
    // Loaded here, at the first HEIF file, not when the program starts.
    const HeifLibrary &heif = heifLibrary();
    const QString name = formatName(data);
    auto fail = [&name](const heif_error &e) {
        return VermeoError(QStringLiteral("fichier %1 illisible (%2)").arg(name, frenchReason(e)));
    };
    const HeifPtr<heif_context> ctx(heif.context_alloc());
    if (!ctx)
        throw VermeoError(QStringLiteral("mémoire insuffisante"));
    heif.context_set_maximum_image_size_limit(ctx.get(), kMaxSide);
    heif_error e =
        heif.context_read_from_memory_without_copy(ctx.get(), data.constData(), size_t(data.size()), nullptr);
    if (e.code != heif_error_Ok)
        throw fail(e);
    heif_image_handle *rawHandle = nullptr;
    e = heif.context_get_primary_image_handle(ctx.get(), &rawHandle);
    if (e.code != heif_error_Ok)
        throw fail(e);
    const HeifPtr<heif_image_handle> handle(rawHandle);
    const long long w = heif.image_handle_get_width(handle.get()), h = heif.image_handle_get_height(handle.get());
    if (!isHoldableSize(w, h) || !compressedFileCouldHold(w, h, data.size()))
        throw VermeoError(QStringLiteral("fichier %1 refusé (taille %2 x %3)").arg(name).arg(w).arg(h));
    // The coded picture may claim a size of its own, far beyond the announced one: held
    // to the announced size (with room for the codec's block padding), libheif refuses
    // it before allocating.
    heif.context_set_maximum_image_size_limit(ctx.get(), int(std::max(w, h)) + 256);
    const bool alpha = heif.image_handle_has_alpha_channel(handle.get());
    const HeifPtr<heif_decoding_options> options(heif.decoding_options_alloc());
    if (!options)
        throw VermeoError(QStringLiteral("mémoire insuffisante"));
    options->convert_hdr_to_8bit = 1;
    heif_image *rawImage = nullptr;
    e = heif.decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    if (e.code != heif_error_Ok)
        throw fail(e);
    const HeifPtr<heif_image> image(rawImage);
    int stride = 0;
    const uint8_t *plane = heif.image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    // The decoded size after rotation and crop; it must be what the handle announced.
    if (!plane || heif.image_get_width(image.get(), heif_channel_interleaved) != w ||
        heif.image_get_height(image.get(), heif_channel_interleaved) != h ||
        heif.image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8 || stride < w * (alpha ? 4 : 3))
        throw VermeoError(QStringLiteral("fichier %1 endommagé (image décodée incohérente)").arg(name));
    Picture pic;
    pic.image = newWorkingImage(int(w), int(h));
    toWorking(plane, stride, alpha, pic.image);
    if (auto colour = colourOf(handle.get()))
        colour->convertPicture(pic.image);
    return pic;
}

} // namespace vermeo::formats
