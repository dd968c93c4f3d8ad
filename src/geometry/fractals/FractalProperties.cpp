#include "FractalProperties.h"

namespace vermeo::geometry {

int defaultIterations(TFractalTypes type)
{
    switch (type) {
    case ftMoire: return 4;
    case ftMandelBrot:
    case ftJulian: return 16;
    default: return 30000;
    }
}

void TFractalProperties::setFractalType(TFractalTypes type)
{
    if (type == m_type)
        return;
    const bool escapePair =
        (type == ftMandelBrot || type == ftJulian) && (m_type == ftMandelBrot || m_type == ftJulian);
    m_type = type;
    if (!escapePair)
        NumberOfIterations = defaultIterations(type);
}

const std::array<FractalListEntry, 8> &fractalList()
{
    static const std::array<FractalListEntry, 8> list = {{
        {"Curl", ftCurl},
        {"Fern", ftFern},
        {"Julia", ftJulian},
        {"Koch", ftKoch},
        {"Leaft", ftLeaf},
        {"MandelBrot", ftMandelBrot},
        {"Moire", ftMoire},
        {"Sierpinski", ftSierpinski},
    }};
    return list;
}

bool fractalTypeByName(const QString &name, TFractalTypes &type)
{
    if (name.compare(QLatin1String("Leaf"), Qt::CaseInsensitive) == 0) {
        type = ftLeaf;
        return true;
    }
    for (const FractalListEntry &e : fractalList())
        if (name.compare(QLatin1String(e.caption), Qt::CaseInsensitive) == 0) {
            type = e.type;
            return true;
        }
    return false;
}

TColour fractalColour(int index)
{
    static const TColour palette[15] = {0x000000, 0x800000, 0x008000, 0xFFFF00, 0x0000FF, 0x800080, 0x000080, 0xC0C0C0,
                                        0x808080, 0xFF0000, 0x00FF00, 0x008080, 0xFF00FF, 0x808000, 0x00FFFF};
    if (index < 0)
        index = 0;
    return index >= 15 ? clWhite : palette[index];
}

} // namespace vermeo::geometry
