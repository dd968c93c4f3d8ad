#pragma once
// The frame every per-pixel picture command runs in: undo copy, progress bar in place
// of the status bar, one new picture built from the unchanged one, one assignment,
// modified flag. The document's drawing attributes stay as they were.
#include "DocumentHost.h"
#include "ImageDocument.h"

#include <QImage>
#include <functional>

namespace vermeo::colour {

using PixelKernel = std::function<QImage(const QImage &src, Progress &progress)>;

// Builds the new picture first, so a kernel that fails (no memory) leaves the
// picture, the undo copy and the modified flag untouched.
// Most commands record a step and mark the picture even when nothing changed; with
// LeaveUnmodified, a result equal to the picture records nothing and marks nothing.
enum class Unchanged { Record, LeaveUnmodified };
void applyFrame(ImageDocument &doc, DocumentHost &host, const PixelKernel &kernel,
                Unchanged unchanged = Unchanged::Record);

} // namespace vermeo::colour
