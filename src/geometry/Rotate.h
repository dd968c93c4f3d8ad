#pragma once
// Rotation by any angle in degrees: the picture grows to hold the turned rectangle,
// the corners take the background colour, and each result pixel takes its nearest
// source pixel (inverse mapping). Positive angles turn anticlockwise on screen.
// Quarter and half turns are exact permutations of the pixels.
#include "Progress.h"

#include "MadeRows.h"
#include "PixelRows.h"

#include <QImage>
#include <QSize>
#include <vector>

namespace vermeo::geometry {

// The angle brought into [0, 360).
double reducedAngle(double degrees);

// The size of the result of turning a w x h picture by degrees.
QSize rotatedSize(int w, int h, double degrees);

// src turned by degrees on a background of the colour background (QRgb). Throws
// VermeoError when the result is no size we hold.
QImage rotateImage(const QImage &src, QRgb background, double degrees, Progress &progress);

// The rows of a turn made on demand, a band at a time: the pixels of rotateImage,
// without the whole result ever being held. The source must outlive it.
class RotatedRows {
public:
    // Throws VermeoError as rotateImage does, before any row is made.
    RotatedRows(const QImage &src, QRgb background, double degrees);
    // The same turn of pixels lying packed elsewhere, read where they lie.
    RotatedRows(const PackedPixels &src, QRgb background, double degrees);
    QSize size() const { return {m_ow, m_oh}; }
    // Result rows y0 .. y1 - 1 into rows[0 .. y1 - y0), on the calling thread.
    void makeRows(int y0, int y1, RowsOf<QRgb> rows) const;
    // The same on every core.
    void make(int y0, int count, RowsOf<QRgb> rows) const;

private:
    void makeQuarterRows(int y0, int y1, RowsOf<QRgb> rows) const;
    QRgb quarterPixel(RowsOf<const QRgb> in, int x, int y) const;
    // What the mapping of a result row needs, and the columns it maps one by one.
    struct TurnedRow {
        long double sdy, cdy;
        double sdyFast, cdyFast;
        int lo, hi;
    };
    void turnedSpans(int y0, int y1, TurnedRow *spans) const;
    // Columns c0 .. c1 - 1 of result rows y0 .. y1 - 1 (spans and rows from row y0).
    template <int Bytes>
    void makeTurnedTiles(int y0, int y1, const TurnedRow *spans, int c0, int c1, RowsOf<QRgb> rows) const;
    void makeTurnedRows(int y0, int y1, RowsOf<QRgb> rows) const;
    void prepare();

    QImage m_src; // quarter turns, and other turns of a picture
    // Where other turns read: row y at m_base + y * m_stride, m_bytes a pixel, each
    // pixel taken with m_opaque set.
    const uchar *m_base = nullptr;
    qsizetype m_stride = 0;
    int m_bytes = 4;
    QRgb m_opaque = 0;
    double m_angle = 0;
    int m_w = 0, m_h = 0, m_ow = 0, m_oh = 0;
    QRgb m_fill = 0;
    long double m_c = 0, m_s = 0;
    int m_cx = 0, m_cy = 0;
    std::vector<long double> m_cdx, m_sdx; // c dx and s dx of each result column
    std::vector<double> m_cdxFast, m_sdxFast; // the same rounded to double
};

// The background of "Rotation": the colour of picture pixel (1, 1), white when the
// picture has no such pixel.
QRgb rotationBackground(const QImage &picture);
QRgb rotationBackground(const PackedPixels &picture);
// The angle of a choice of "Rotation": 1 "90° gauche" 90, 2 "90° droite" 270,
// 3 "180°" 180, otherwise ("Autre") the typed angle.
double rotationAngle(int choice, int typed);

} // namespace vermeo::geometry
