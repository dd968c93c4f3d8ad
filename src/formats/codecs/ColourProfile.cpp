#include "ColourProfile.h"
#include "FormatsLog.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <lcms2.h>

#include <cmath>

namespace vermeo::formats {

namespace {
extern "C" void logLcms(cmsContext, cmsUInt32Number code, const char *text)
{
    qCInfo(lcFormats) << "lcms2" << code << text;
}

void quietLcms()
{
    static const bool done = [] {
        cmsSetLogErrorHandler(logLcms);
        return true;
    }();
    (void)done;
}

struct Profile {
    cmsHPROFILE h;
    explicit Profile(cmsHPROFILE p) : h(p) {}
    ~Profile()
    {
        if (h)
            cmsCloseProfile(h);
    }
    Profile(const Profile &) = delete;
    Profile &operator=(const Profile &) = delete;
};

const cmsToneCurve *srgbCurve()
{
    static const cmsFloat64Number params[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    static cmsToneCurve *curve = cmsBuildParametricToneCurve(nullptr, 4, params);
    return curve;
}

// A curve that gives back every 8-bit level when read through sRGB's: a profile built
// with sRGB's curve (many makers tabulate it).
bool isSrgbCurve(const cmsToneCurve *curve)
{
    static cmsToneCurve *inverse = cmsReverseToneCurve(srgbCurve());
    if (!curve || !inverse)
        return false;
    for (int i = 0; i < 256; ++i) {
        const float v = float(i) / 255.0f;
        const float back = cmsEvalToneCurveFloat(inverse, cmsEvalToneCurveFloat(curve, v));
        if (std::fabs(back - v) * 255.0f > 0.25f)
            return false;
    }
    return true;
}

bool sameXyz(const void *tag, const cmsCIEXYZ &want)
{
    const auto *xyz = static_cast<const cmsCIEXYZ *>(tag);
    constexpr double kTolerance = 0.002; // the spread between the sRGB profiles in use
    return xyz && std::fabs(xyz->X - want.X) < kTolerance && std::fabs(xyz->Y - want.Y) < kTolerance &&
           std::fabs(xyz->Z - want.Z) < kTolerance;
}

// sRGB itself, as cameras and editors tag their pictures: converting would only round.
bool isSrgbProfile(cmsHPROFILE p)
{
    const cmsColorSpaceSignature space = cmsGetColorSpace(p);
    if (space == cmsSigGrayData)
        return isSrgbCurve(static_cast<const cmsToneCurve *>(cmsReadTag(p, cmsSigGrayTRCTag)));
    if (space != cmsSigRgbData || !cmsIsMatrixShaper(p))
        return false;
    static const Profile srgb(cmsCreate_sRGBProfile());
    for (auto [colorant, curve] :
         {std::pair{cmsSigRedColorantTag, cmsSigRedTRCTag}, std::pair{cmsSigGreenColorantTag, cmsSigGreenTRCTag},
          std::pair{cmsSigBlueColorantTag, cmsSigBlueTRCTag}}) {
        const auto *want = static_cast<const cmsCIEXYZ *>(cmsReadTag(srgb.h, colorant));
        if (!want || !sameXyz(cmsReadTag(p, colorant), *want) ||
            !isSrgbCurve(static_cast<const cmsToneCurve *>(cmsReadTag(p, curve))))
            return false;
    }
    return true;
}

cmsUInt32Number inputFormat(ProfilePixels pixels)
{
    switch (pixels) {
    case ProfilePixels::Working: return TYPE_BGRA_8;
    case ProfilePixels::GreyWorking: return COLORSPACE_SH(PT_GRAY) | CHANNELS_SH(1) | EXTRA_SH(3) | BYTES_SH(1);
    case ProfilePixels::Grey8: return TYPE_GRAY_8;
    case ProfilePixels::Cmyk8: return TYPE_CMYK_8;
    case ProfilePixels::InvertedCmyk8: return TYPE_CMYK_8_REV;
    }
    return TYPE_BGRA_8;
}

cmsColorSpaceSignature spaceOf(ProfilePixels pixels)
{
    switch (pixels) {
    case ProfilePixels::Working: return cmsSigRgbData;
    case ProfilePixels::GreyWorking:
    case ProfilePixels::Grey8: return cmsSigGrayData;
    case ProfilePixels::Cmyk8:
    case ProfilePixels::InvertedCmyk8: return cmsSigCmykData;
    }
    return cmsSigRgbData;
}

int bytesPerPixel(ProfilePixels pixels) { return pixels == ProfilePixels::Grey8 ? 1 : 4; }

// One transform serves both cores: without its one-pixel cache it keeps no state.
cmsHTRANSFORM toSrgb(cmsHPROFILE source, ProfilePixels pixels)
{
    static const Profile srgb(cmsCreate_sRGBProfile());
    return cmsCreateTransform(source, inputFormat(pixels), srgb.h, TYPE_BGRA_8, INTENT_PERCEPTUAL, cmsFLAGS_NOCACHE);
}
} // namespace

std::unique_ptr<SrgbConversion> SrgbConversion::fromIcc(const QByteArray &icc, ProfilePixels pixels)
{
    if (icc.isEmpty())
        return nullptr;
    quietLcms();
    const Profile p(cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size())));
    if (!p.h) {
        qCInfo(lcFormats) << "lcms2: unreadable profile, taken as sRGB";
        return nullptr;
    }
    if (cmsGetColorSpace(p.h) != spaceOf(pixels) || isSrgbProfile(p.h))
        return nullptr;
    cmsHTRANSFORM t = toSrgb(p.h, pixels);
    if (!t)
        return nullptr;
    return std::unique_ptr<SrgbConversion>(new SrgbConversion(t, pixels));
}

std::unique_ptr<SrgbConversion> SrgbConversion::fromPrimaries(const Primaries &c)
{
    quietLcms();
    const cmsCIExyY white = {c.wx, c.wy, 1.0};
    const cmsCIExyYTRIPLE primaries = {{c.rx, c.ry, 1.0}, {c.gx, c.gy, 1.0}, {c.bx, c.by, 1.0}};
    cmsToneCurve *curve = c.gamma > 0 ? cmsBuildGamma(nullptr, c.gamma) : cmsDupToneCurve(srgbCurve());
    if (!curve)
        return nullptr;
    cmsToneCurve *curves[3] = {curve, curve, curve};
    const Profile p(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(curve);
    if (!p.h || isSrgbProfile(p.h))
        return nullptr;
    cmsHTRANSFORM t = toSrgb(p.h, ProfilePixels::Working);
    if (!t)
        return nullptr;
    return std::unique_ptr<SrgbConversion>(new SrgbConversion(t, ProfilePixels::Working));
}

SrgbConversion::~SrgbConversion() { cmsDeleteTransform(static_cast<cmsHTRANSFORM>(m_transform)); }

void SrgbConversion::convertRow(const void *src, QRgb *dst, int count) const noexcept
{
    // Through a small buffer, so that source and destination may be the same row.
    constexpr int kChunk = 512;
    QRgb out[kChunk];
    const auto *in = static_cast<const unsigned char *>(src);
    const int step = bytesPerPixel(m_pixels);
    for (int done = 0; done < count; done += kChunk) {
        const int n = std::min(kChunk, count - done);
        cmsDoTransform(static_cast<cmsHTRANSFORM>(m_transform), in + size_t(done) * size_t(step), out,
                       cmsUInt32Number(n));
        for (int i = 0; i < n; ++i)
            dst[done + i] = out[i] | 0xFF000000u;
    }
}

void SrgbConversion::convertPicture(QImage &img) const
{
    const RowsOf<QRgb> rows = rowsOf(img);
    const int w = img.width();
    forBandsInParallel(img.height(), 64, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            convertRow(rows[y], rows[y], w);
    });
}

} // namespace vermeo::formats
