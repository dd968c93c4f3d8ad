#pragma once
// Reading and writing a picture file by its name.
#include "Picture.h"

#include <QString>

namespace vermeo::formats {

Picture readPictureFile(const QString &fileName);
void writePictureFile(const Picture &picture, const QString &fileName);

} // namespace vermeo::formats
