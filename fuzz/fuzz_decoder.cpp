// libFuzzer entry for one decoder, chosen at build time by VERMEO_FUZZ_KIND. A
// decoder may refuse its input with VermeoError; anything else is a finding.
#include "Error.h"
#include "PictureFiles.h"

#include <QByteArray>
#include <QGuiApplication>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv); // fonts for the metafile text records
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    // As everywhere but the window's "Ouvrir", then as "Ouvrir" (a truncated file read
    // as far as it goes).
    for (bool partial : {false, true}) {
        bool truncated = false;
        try {
            const vermeo::Picture pic =
                vermeo::formats::decodeAs(vermeo::formats::FileKind::General, bytes,
                                          QStringLiteral("fuzz." VERMEO_FUZZ_KIND), partial ? &truncated : nullptr);
            (void)pic;
        } catch (const vermeo::VermeoError &) {
        }
    }
    return 0;
}
