#pragma once
// Filtered resampling ("Rééchantillonner"): a two-pass separable filter with one of
// seven reconstruction kernels. Kernels, weights and sums are single precision;
// indices outside the picture are mirrored back in; each sum is clamped, then rounded.
#include "Progress.h"

#include <QImage>
#include <QString>
#include <array>
#include <vector>

namespace vermeo::geometry {

using FilterKernel = float (*)(float x);

struct ResampleFilter {
    const char *name; // as offered by name: "Box", "Mitchell"...
    float support;    // the kernel is 0 beyond this radius
    FilterKernel kernel;
};

// The seven kernels in their order: Box, Triangle, Hermite, Bell, B-Spline, Lanczos3, Mitchell.
const std::array<ResampleFilter, 7> &resampleFilters();
// A kernel by its name, any case; nullptr when there is none of that name.
const ResampleFilter *findResampleFilter(const QString &name);
// What the command always uses, with support 2.0.
const ResampleFilter &mitchellFilter();

// One pass's contributors: for each target index i, the source indices and weights
// items[first[i]] .. items[first[i + 1] - 1], in the order the sum takes them.
struct Contributions {
    struct Item {
        int pixel;
        float weight;
    };
    std::vector<int> first;
    std::vector<Item> items;
};

// The contributors of a pass from srcSize to dstSize (both at least 1).
Contributions contributions(int srcSize, int dstSize, const ResampleFilter &filter, float support);

// src resampled to dw x dh (a plain new picture). Throws VermeoError when src is empty
// ("Image source trop petite") or dw x dh is no size we hold.
QImage ResampleStretch(const QImage &src, int dw, int dh, const ResampleFilter &filter, float support,
                       Progress &progress);

} // namespace vermeo::geometry
