#pragma once
// Tone adjustments: one new picture from the unchanged source, per-pixel formulas in
// signed integer arithmetic (division truncates toward zero), each channel clamped
// to 0..255 only when the colour is put back together.
#include "CommandParameter.h"
#include "Progress.h"

#include <QImage>

namespace vermeo::colour {

// r' = r + P, g' = g + P, b' = b + P.
QImage brightness(const QImage &src, int offset, Progress &progress);
// c' = c + c * Q div 100.
QImage clarity(const QImage &src, int percent, Progress &progress);
// Dark pixels (r + g + b < 382) are lowered by P, the others raised by P.
QImage contrast(const QImage &src, int offset, Progress &progress);
// m = (r + g + b) div 3; c' = c + S * (c - m) div 100.
QImage saturation(const QImage &src, int percent, Progress &progress);

// Leading channel code of a pixel or of a whole picture: 1 blue, 2 green, 3 red
// (1; 2 when blue < green; 3 when green < red; a later test wins).
int leadingChannel(int b, int g, int r);
int dominantChannel(const QImage &img);
// Adds P to channel D of the pixels whose own leading channel is D; code 0 matches none.
QImage tint(const QImage &src, int code, int offset, Progress &progress);

// Channels above T become 2T - c.
QImage solarise(const QImage &src, int threshold, Progress &progress);

// The parameters that the dialogs hand back from the spin value S (-100..100).
constexpr int percentToOffset(int s) { return s * 255 / 100; }

// The percentage of the tone dialogs (and of each channel of the balance).
inline constexpr CommandParameter kPercent{CommandParameter::Whole, "S", "Le pourcentage", -100, 100, 0, "SpinEdit1"};
// The threshold of "Solariser": 255 changes nothing, 0 is no command.
inline constexpr CommandParameter kSolariseThreshold{
    CommandParameter::Whole, "T", "Le seuil", 0, 255, 255, "SpinEdit1"};

} // namespace vermeo::colour
