#pragma once
// Embedded colour profiles converted to sRGB on reading, through LittleCMS 2: it reads
// every kind of ICC profile (matrix and table based, grey, CMYK), and it is what the
// other programs that honour profiles use, so pictures look alike in all of them.
// A picture without a profile, or whose profile is sRGB's, is not converted at all:
// its pixels stay bit for bit what the file holds.
#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <memory>

namespace vermeo::formats {

// How the pixels handed to a conversion are laid out.
enum class ProfilePixels {
    Working,      // working pixels (B, G, R, x), converted in place; RGB profiles
    GreyWorking,  // working pixels of a grey picture (R = G = B); grey profiles
    Grey8,        // one byte a pixel; grey profiles
    Cmyk8,        // C, M, Y, K bytes, 0 for no ink; CMYK profiles
    InvertedCmyk8 // the same, 255 for no ink (Adobe's JPEG files)
};

// Colours given by primaries (x, y of red, green, blue and white) and a transfer
// (HEIF's nclx); gamma 0 means the sRGB curve.
struct Primaries {
    double rx, ry, gx, gy, bx, by, wx, wy;
    double gamma = 0;
};

class SrgbConversion {
public:
    // Null when nothing is to be converted: no profile, a profile of sRGB, one that does
    // not fit the pixels, or one LittleCMS cannot read (the pixels are then taken as
    // sRGB, as other viewers take them).
    static std::unique_ptr<SrgbConversion> fromIcc(const QByteArray &icc, ProfilePixels pixels);
    static std::unique_ptr<SrgbConversion> fromPrimaries(const Primaries &p);
    ~SrgbConversion();

    // count pixels of the input layout to working pixels (dst may be src for Working).
    void convertRow(const void *src, QRgb *dst, int count) const noexcept;
    // A whole working picture in place, on both cores.
    void convertPicture(QImage &img) const;

private:
    explicit SrgbConversion(void *transform, ProfilePixels pixels) : m_transform(transform), m_pixels(pixels) {}
    void *m_transform;
    ProfilePixels m_pixels;
};

} // namespace vermeo::formats
