// libFuzzer entry for the photo metadata readers: the same bytes as an EXIF block, a
// TIFF file and a PNG file, and every profile found handed to LittleCMS.
#include "ColourProfile.h"
#include "PhotoMetadata.h"

#include <QByteArray>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace vermeo::formats;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const int o = exifOrientation(data, size);
    if (o < 1 || o > 8)
        __builtin_trap();
    const TiffFileTags tags = tiffFileTags(bytes);
    if (tags.orientation < 1 || tags.orientation > 8)
        __builtin_trap();
    for (const QByteArray &icc : {tags.iccProfile, pngIccProfile(bytes), bytes}) {
        for (ProfilePixels kind : {ProfilePixels::Working, ProfilePixels::Grey8, ProfilePixels::InvertedCmyk8}) {
            if (auto conversion = SrgbConversion::fromIcc(icc, kind)) {
                uint8_t pixels[64] = {};
                for (int i = 0; i < 64; ++i)
                    pixels[i] = uint8_t(i * 37);
                QRgb out[16];
                conversion->convertRow(pixels, out, 16);
            }
        }
    }
    return 0;
}
