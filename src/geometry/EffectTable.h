#pragma once
// The special effects, by their place in the list of "Effets spéciaux": caption, rule
// and the fixed parameter the dialog passes. The one table fills the dialog's list,
// runs "Aperçu" and names the effects of vermeo-cli.
#include <QImage>
#include <QString>
#include <span>

namespace vermeo::geometry {

// An effect changes a working picture (RGB32) in place.
using EffectRule = void (*)(QImage &img, int parameter);

struct EffectEntry {
    int position;        // in the list
    const char *caption; // UTF-8, as the list shows it
    EffectRule rule;
    int parameter;
    QString name() const { return QString::fromUtf8(caption); }
};

std::span<const EffectEntry> effectTable();

// The effect whose caption matches, whatever the case, accents, spaces, dashes and
// dots ("medaillon", "Neige fondue", "ombre-se"); nullptr when none does.
const EffectEntry *findEffect(const QString &name);
// The caption without accents, in lower case, words joined by dashes ("ombre-se").
QString effectKey(const EffectEntry &e);

// Runs the effect on the picture, made a working picture first.
void applyEffect(QImage &img, const EffectEntry &e);

} // namespace vermeo::geometry
