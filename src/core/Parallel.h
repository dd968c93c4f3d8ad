#pragma once
// Runs a pass over the rows of a picture on every core: the rows are cut into bands
// that the threads take in turn. Each band's work must depend on nothing another band
// writes, so the result is the same as with one band. This is the one band iterator of
// the program; the progress rules below say how a pass moves the bar as bands finish.
#include "PixelRows.h"
#include "Progress.h"

#include <functional>

namespace vermeo {

// The number of threads a pass uses (the cores of the machine, at least 1).
int passThreads();

// Sets the number of threads for a scope; 0 runs every pass as one band on the calling
// thread (tests compare that with many bands on several threads).
class PassThreadsOverride {
public:
    explicit PassThreadsOverride(int threads);
    ~PassThreadsOverride();
    PassThreadsOverride(const PassThreadsOverride &) = delete;
    PassThreadsOverride &operator=(const PassThreadsOverride &) = delete;

private:
    int m_previous;
};

// Calls body(y0, y1) for bands [y0, y1) covering [0, rows), on all threads; returns when
// every band is done. onBandDone(rowsDone) runs on the calling thread between its own
// bands (for progress). Small passes run on the calling thread alone.
void forBandsInParallel(int rows, int bandRows, const std::function<void(int y0, int y1)> &body,
                        const std::function<void(int rowsDone)> &onBandDone = {});

// The usual band height of a pass over whole scan lines.
constexpr int kBandRows = 16;

// The same bands on the calling thread alone, top to bottom, for passes that gather
// results in order (the histogram); progress(rowsReached) runs before each band.
void forBandsInOrder(int rows, int bandRows, const std::function<void(int y0, int y1)> &body,
                     const std::function<void(int rowsReached)> &progress = {});

// Progress by rows: rowsDone * 100 div rows.
std::function<void(int rowsDone)> progressByRows(Progress &progress, int rows);

// Progress by columns, as the colour commands count: the picture is walked column by
// column as far as anyone can observe, so position(i) is reported once for each column
// i = 0 .. width - 1 (in visiting order) that the share of rows done reaches.
template <class Position>
std::function<void(int rowsDone)> progressByColumns(Progress &progress, int width, int height, Position position)
{
    return [&progress, width, height, position, reported = 0](int rowsDone) mutable {
        const int upTo = int((long long)rowsDone * width / height);
        for (; reported < upTo; ++reported)
            progress.setPosition(position(reported));
    };
}
// Columns left to right: x * 100 div width.
inline std::function<void(int rowsDone)> progressByColumns(Progress &progress, int width, int height)
{
    return progressByColumns(progress, width, height, [width](int x) { return int((long long)x * 100 / width); });
}

// A band body that calls fn(row, y) for each row of img in the band; each row must read
// only itself.
template <class Fn>
std::function<void(int y0, int y1)> eachRow(QImage &img, Fn fn)
{
    return [rows = rowsOf(img), fn](int y0, int y1) mutable {
        for (int y = y0; y < y1; ++y)
            fn(rows[y], y);
    };
}

} // namespace vermeo
