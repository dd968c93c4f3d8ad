#pragma once
// The eight fractal generators, drawing into a picture of any size. The same seed
// gives the same picture, in the window and on the command line.
#include "FractalProperties.h"

#include <QImage>
#include <QPointF>
#include <cstdint>

namespace vermeo::geometry {

struct FractalSettings {
    TFractalTypes type = ftMandelBrot;
    double X0 = -2.25, Y0 = -1.5, X1 = 0.75, Y1 = 1.5;
    int iterations = 16;
    bool lineIncremental = true;
    std::uint32_t seed = 0; // Sierpinski and the function systems
};

FractalSettings settingsOf(const TFractalProperties &p, std::uint32_t seed);

// Watches a drawing: it can stop it and show it as it grows.
class FractalMonitor {
public:
    virtual ~FractalMonitor() = default;
    // Asked from any drawing thread: once true, the drawing ends as soon as it can.
    virtual bool stopRequested() const { return false; }
    // From any drawing thread: row y of a Mandelbrot or Julia picture is final.
    virtual void rowFinished(int y) { (void)y; }
    // On the calling thread after each line, point or pixel the display may show.
    virtual void drawn() {}
};

// "Fractales" draws at the size of its dialog's control, then stretches that into the
// picture.
inline constexpr int kFractalControlWidth = 217, kFractalControlHeight = 233;

// Draws the fractal on a white picture of img's size (img must be a working picture).
void drawFractal(QImage &img, const FractalSettings &settings, FractalMonitor &monitor);
void drawFractal(QImage &img, const FractalSettings &settings);

// The fractal stretched into the rectangle (0, 0, width - 1, height - 1) of the picture,
// as "Fractales" puts it: its last column and row stay as they were.
void stretchFractalInto(QImage &picture, const QImage &fractal);
// The fractal of the settings at the control's size, stretched into the picture.
void drawFractalInto(QImage &picture, const FractalSettings &settings);

// Mandelbrot and Julia: the step k at which z = zx + zy i escapes under z^2 + c, the
// test looking one step behind; n when it never does.
int escapeSteps(double cx, double cy, double zx, double zy, int n);
// Palette index of k steps out of n: 0 when k = n, else Round(16 k / n).
int escapeColourIndex(int k, int n);

// The four affine maps of a function system, and the plotting of its points.
struct AffineMap {
    double a, b, c, d, e, f, p;
};
const std::array<AffineMap, 4> &functionSystem(TFractalTypes type);
// Cumulative thresholds in percent: t1 = Round(100 p1), tk = t(k-1) + Round(100 pk).
std::array<int, 4> functionThresholds(TFractalTypes type);
// The map for r (0..99): the first k with r < tk, else the last.
int functionMapFor(const std::array<int, 4> &thresholds, int r);
QPointF applyMap(const AffineMap &m, QPointF p);

} // namespace vermeo::geometry
