#pragma once
// The effects that change each pixel from its own channels (and, for the noises, the
// program's pseudo-random generator). In place on a working picture (RGB32).
// Integer division truncates toward zero; Clamp keeps a channel within 0..255.
#include <QImage>

namespace vermeo::geometry::effects {

// "Neige": v := Round(sin(v / 255 x pi / 2) x 255), `passes` times.
void snow(QImage &img, int passes);
// "Médaillon": "Assombrir" with a, then black outside the ellipse inscribed in
// (0, 0, width - 1, height - 1).
void medallion(QImage &img, int a);
// "Bleu / Vert / Rouge dominant": the channel := Round(factor x v), the other two 0;
// factor in hundredths. Channel: 0 blue, 1 green, 2 red.
void dominant(QImage &img, int channel, int factorHundredths);
// "Assombrir": v := Clamp(v - a x v div 255).
void darken(QImage &img, int a);
// "Bruit coloré": v := Clamp(v + Random(a) - a div 2), a draw for each channel, in the
// order blue, green, red, pixels row by row.
void colouredNoise(QImage &img, int a);
// "Bruit monochrome": one n = Random(a) - a div 2 per pixel, added to each channel.
void monochromeNoise(QImage &img, int a);
// "Contraste": d = abs(127 - v) x a div 255; v := Clamp(v + d) above 127, else Clamp(v - d).
void contrastEffect(QImage &img, int a);
// "Brillance": v := Clamp(v + a x (255 - v) div 255).
void brilliance(QImage &img, int a);
// "Saturation": m = (blue + green + red) div 3; v := Clamp(m + a x (v - m) div 255).
void saturationEffect(QImage &img, int a);
// "Inverser": v := 255 - v.
void invertEffect(QImage &img);

} // namespace vermeo::geometry::effects
