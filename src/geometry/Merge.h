#pragma once
// "Fusion": a second picture stretched over the whole picture and combined with it
// by one of six raster operations.
#include "Canvas.h"

#include <QImage>
#include <QString>
#include <array>

namespace vermeo::geometry {

struct MergeOperation {
    int number;          // 1..6, the dialog's order
    const char *name;    // for vermeo-cli: "and", "merge-paint"...
    const char *caption; // the dialog's radio button
    CopyMode mode;
};

// The six operations in the dialog's order.
const std::array<MergeOperation, 6> &mergeOperations();
// The raster operation of a number; any number outside 2..6 merges with AND.
CopyMode mergeCopyMode(int operation);
// An operation given by its number ("1".."6") or its name; 0 when there is none.
int mergeOperationNumber(const QString &text);

// picture with second stretched over all of it in mode (a new picture).
QImage mergePictures(const QImage &picture, const QImage &second, CopyMode mode);

} // namespace vermeo::geometry
