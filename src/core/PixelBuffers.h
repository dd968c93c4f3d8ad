#pragma once
// The memory of large pictures. The pixels of a large picture, once freed, are kept a
// few seconds for the next picture of the same size: their pages are the program's
// already, where fresh ones are cleared by the kernel one by one at their first touch
// (for 6000 x 4000, 96 MB cleared again for a Delete, an undone paste or a zoom step,
// which took longer than the action itself and varied with the machine's load).
#include <QImage>

namespace vermeo {

// A w x h RGB32 image whose pixels the caller writes: on kept or fresh mapped memory
// when large, from the usual allocator otherwise. Null when the memory cannot be had.
QImage pooledImage(int w, int h);

// Frees what is kept now (the memory is short, or a test wants a clean start).
void releaseKeptPixels();
// The bytes kept for reuse now.
qsizetype keptPixelBytes();

} // namespace vermeo
