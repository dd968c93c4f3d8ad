#include "Merge.h"

#include "PixelRows.h"

namespace vermeo::geometry {

const std::array<MergeOperation, 6> &mergeOperations()
{
    static const std::array<MergeOperation, 6> table = {{
        {1, "and", "Copie AND", CopyMode::SrcAnd},
        {2, "merge-paint", "Source inv. OR", CopyMode::MergePaint},
        {3, "not-src", "Copie source inv.", CopyMode::NotSrcCopy},
        {4, "not-src-erase", "Copiue OR inv.", CopyMode::NotSrcErase},
        {5, "or", "Copie OR", CopyMode::SrcPaint},
        {6, "xor", "Copie XOR", CopyMode::SrcInvert},
    }};
    return table;
}

CopyMode mergeCopyMode(int operation)
{
    for (const MergeOperation &op : mergeOperations())
        if (op.number == operation)
            return op.mode;
    return CopyMode::SrcAnd;
}

int mergeOperationNumber(const QString &text)
{
    for (const MergeOperation &op : mergeOperations())
        if (text == QString::number(op.number) || text.compare(QLatin1String(op.name), Qt::CaseInsensitive) == 0)
            return op.number;
    return 0;
}

QImage mergePictures(const QImage &picture, const QImage &second, CopyMode mode)
{
    QImage out = toWorkingImage(picture).copy();
    Canvas c(&out);
    c.setCopyMode(mode);
    c.StretchDraw(out.rect(), second);
    return out;
}

} // namespace vermeo::geometry
