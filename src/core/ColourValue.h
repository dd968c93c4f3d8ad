#pragma once
// The program's colour value is $00BBGGRR (red in the low byte), as the picture
// commands and the drawing attributes use it. Qt's QRgb is 0xAARRGGBB. These are the
// only converters between the two; never mix them silently.
#include <QColor>
#include <QRgb>
#include <cstdint>

namespace vermeo {

using TColour = std::uint32_t;

constexpr TColour clWhite = 0x00FFFFFF;
constexpr TColour clBlack = 0x00000000;
constexpr TColour clRed = 0x000000FF;

constexpr QRgb toQRgb(TColour c) { return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu); }

constexpr TColour fromQRgb(QRgb q) { return ((q >> 16) & 0xFFu) | (q & 0xFF00u) | ((q & 0xFFu) << 16); }

inline QColor toQColor(TColour c) { return QColor::fromRgb(toQRgb(c)); }
inline TColour fromQColor(const QColor &c) { return fromQRgb(c.rgb()); }

// Splits a colour value into blue, green and red; the top byte never reaches a channel.
constexpr void DecomposeCouleur(TColour c, int &b, int &g, int &r)
{
    b = int((c >> 16) & 0xFFu);
    g = int((c >> 8) & 0xFFu);
    r = int(c & 0xFFu);
}

constexpr int clampChannel(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// Builds a colour value from red, green and blue, each clamped to 0..255.
constexpr TColour ComposeCouleur(int r, int g, int b)
{
    return (TColour(clampChannel(b)) << 16) | (TColour(clampChannel(g)) << 8) | TColour(clampChannel(r));
}

} // namespace vermeo
