#pragma once
// What a fractal drawing is made of: its type, the area of the plane, the iteration
// count (with the rule that changes it with the type), the 16 colours of the escape
// fractals and the random generator of the point-plotting ones.
#include "ColourValue.h"

#include <QString>
#include <array>
#include <cstdint>

namespace vermeo::geometry {

enum TFractalTypes { ftMandelBrot, ftJulian, ftMoire, ftSierpinski, ftFern, ftLeaf, ftCurl, ftKoch };

class TFractalProperties {
public:
    TFractalTypes FractalType() const { return m_type; }
    // A new type also sets the iteration count: 4 for Moire, 16 for Mandelbrot and
    // Julia, 30000 for the others; between Mandelbrot and Julia the count stays.
    void setFractalType(TFractalTypes type);

    double X0 = -2.25;
    double Y0 = -1.5;
    double X1 = 0.75;
    double Y1 = 1.5;
    int NumberOfIterations = 16;
    bool LineIncremental = true;

private:
    TFractalTypes m_type = ftMandelBrot;
};

// The iteration count a type starts with.
int defaultIterations(TFractalTypes type);

// The fractals as the dialog lists them, in its order ("Curl" .. "Sierpinski").
struct FractalListEntry {
    const char *caption;
    TFractalTypes type;
};
const std::array<FractalListEntry, 8> &fractalList();
// A type by its caption in the list, any case ("Leaf" also names "Leaft"); false when unknown.
bool fractalTypeByName(const QString &name, TFractalTypes &type);

// The escape fractals' colours by index; 15 and above are white.
TColour fractalColour(int index);

// The classic linear congruential generator: reseeded, the same sequence again.
class FractalRandom {
public:
    explicit FractalRandom(std::uint32_t seed) : m_seed(seed) {}
    // A whole number in [0, range).
    int next(int range)
    {
        m_seed = m_seed * 0x08088405u + 1u;
        return int((std::uint64_t(m_seed) * std::uint64_t(range)) >> 32);
    }

private:
    std::uint32_t m_seed;
};

} // namespace vermeo::geometry
