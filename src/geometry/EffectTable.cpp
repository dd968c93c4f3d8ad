#include "EffectTable.h"

#include "EdgeEffects.h"
#include "MotionEffects.h"
#include "PixelRows.h"
#include "ToneEffects.h"

#include <array>

namespace vermeo::geometry {

using namespace effects;

namespace {

const std::array<EffectEntry, 23> kEffects = {{
    {0, "Neige", [](QImage &i, int p) { snow(i, p); }, 1},
    {1, "Médaillon", [](QImage &i, int p) { medallion(i, p); }, 1},
    {2, "Noir", [](QImage &i, int p) { blackOutline(i, p); }, 1},
    {3, "Flou", [](QImage &i, int) { relief(i); }, 0},
    {4, "Bleu dominant", [](QImage &i, int p) { dominant(i, 0, p); }, 100},
    {5, "Vert dominant", [](QImage &i, int p) { dominant(i, 1, p); }, 100},
    {6, "Rouge dominant", [](QImage &i, int p) { dominant(i, 2, p); }, 100},
    {7, "Assombrir", [](QImage &i, int p) { darken(i, p); }, 30},
    {8, "Ombre S.E.", [](QImage &i, int) { shadow(i, ShadowSide::SouthEast); }, 0},
    {9, "Ombre S.O.", [](QImage &i, int) { shadow(i, ShadowSide::SouthWest); }, 0},
    {10, "Ombre N.E.", [](QImage &i, int) { shadow(i, ShadowSide::NorthEast); }, 0},
    {11, "Ombre N.O.", [](QImage &i, int) { shadow(i, ShadowSide::NorthWest); }, 0},
    {12, "Bruit coloré", [](QImage &i, int p) { colouredNoise(i, p); }, 20},
    {13, "Bruit monochrome", [](QImage &i, int p) { monochromeNoise(i, p); }, 20},
    {14, "Contraste", [](QImage &i, int p) { contrastEffect(i, p); }, 10},
    {15, "Brillance", [](QImage &i, int p) { brilliance(i, p); }, 10},
    {16, "Saturation", [](QImage &i, int p) { saturationEffect(i, p); }, 10},
    {17, "Inverser", [](QImage &i, int) { invertEffect(i); }, 0},
    {18, "Texture", [](QImage &i, int p) { texture(i, p); }, 50},
    {19, "Neige fondue", [](QImage &i, int p) { meltingSnow(i, p); }, 50},
    {20, "Bandes verticales", [](QImage &i, int p) { verticalBands(i, p); }, 50},
    {21, "Triangles", [](QImage &i, int p) { triangles(i, p); }, 50},
    {22, "Bougé", [](QImage &i, int p) { shake(i, p); }, 50},
}};

// Lower case, accents dropped, and every run of other signs made one dash.
QString plainWords(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D).toLower();
    QString out;
    for (QChar ch : decomposed) {
        if (ch.category() == QChar::Mark_NonSpacing)
            continue;
        if (ch.isLetterOrNumber())
            out += ch;
        else if (!out.isEmpty() && !out.endsWith(QLatin1Char('-')))
            out += QLatin1Char('-');
    }
    while (out.endsWith(QLatin1Char('-')))
        out.chop(1);
    return out;
}

QString withoutDashes(QString s) { return s.remove(QLatin1Char('-')); }

} // namespace

std::span<const EffectEntry> effectTable() { return kEffects; }

QString effectKey(const EffectEntry &e) { return plainWords(e.name()); }

const EffectEntry *findEffect(const QString &name)
{
    const QString wanted = withoutDashes(plainWords(name));
    if (wanted.isEmpty())
        return nullptr;
    for (const EffectEntry &e : kEffects)
        if (withoutDashes(effectKey(e)) == wanted)
            return &e;
    return nullptr;
}

void applyEffect(QImage &img, const EffectEntry &e)
{
    if (img.isNull())
        return;
    if (img.format() != QImage::Format_RGB32)
        img = toWorkingImage(img);
    e.rule(img, e.parameter);
}

} // namespace vermeo::geometry
