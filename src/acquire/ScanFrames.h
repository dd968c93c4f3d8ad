#pragma once
// Raw scanner frames to pictures. A frame is what the device sends between the start
// of a scan and its end of data: rows of grey or red-green-blue samples of 1, 8 or 16
// bits (16-bit samples in the machine's byte order), or one colour band of three.
#include <QByteArray>
#include <QImage>

namespace vermeo::acquire {

// The frame formats of SANE, by their numbers.
enum FrameFormat { FrameGray = 0, FrameRgb = 1, FrameRed = 2, FrameGreen = 3, FrameBlue = 4 };

struct RawFrame {
    int format = FrameGray;
    int depth = 8;
    int bytesPerLine = 0;
    int pixelsPerLine = 0;
    int lines = 0; // -1 while unknown (a hand scanner), set once the data ended
    bool lastFrame = true;
    QByteArray bytes;
};

// Throws VermeoError when the layout is not one we read, or the picture too large to hold.
// With lines < 0 only the width is checked.
void checkFrameLayout(const RawFrame &frame);
// The rows the frame holds: its declared lines, or as many whole rows as arrived.
int frameRows(const RawFrame &frame);

// A grey or colour frame as a working picture; rows that did not arrive stay white.
QImage frameToImage(const RawFrame &frame);
// One band of a three-pass colour scan written into its channel of target, which is
// made white at the frame's size when it is null or of another size.
void mergeBand(QImage &target, const RawFrame &frame);

} // namespace vermeo::acquire
