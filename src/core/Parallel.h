#pragma once
// Runs a pass over the rows of a picture on every core: the rows are cut into bands
// that the threads take in turn. Each band's work must depend on nothing another band
// writes, so the result is the same as with one band.
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

} // namespace vermeo
