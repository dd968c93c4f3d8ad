#pragma once
// What the histogram window shows and the colour count reports.
#include "Progress.h"

#include <QImage>
#include <array>

namespace vermeo::colour {

// Scales a picture into w x h the way the dialogs' small pictures are made
// (nearest pixel, as the canvas stretches).
QImage stretchTo(const QImage &src, int w, int h);

struct HistogramTables {
    std::array<int, 256> red{}, green{}, blue{};            // pixels per level
    std::array<int, 32> redBins{}, greenBins{}, blueBins{}; // scaled to 0..150, one scale for all
    int redLevels = 0, greenLevels = 0, blueLevels = 0;     // levels with at least one pixel
};

// Counts the sample column by column (progress x * 100 div width), bins levels by
// eight and scales the bins so the tallest of all 96 is 150.
HistogramTables computeHistogram(const QImage &sample, Progress &progress);

// The number of distinct 24-bit colours; progress y * 100 div height once per row.
long long countColours(const QImage &img, Progress &progress);

} // namespace vermeo::colour
