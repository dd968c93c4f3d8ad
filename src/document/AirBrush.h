#pragma once
// The airbrush of an image window: each spray lays one translucent blot of a fixed
// shape, centred on the click point, blended over the pixels already there.
#include "Canvas.h"
#include "ColourValue.h"

#include <QImage>

namespace vermeo {

enum TAirBrushShape { absRound, absSquare, absLeftSlash, absRightSlash, absHorizontal, absVertical };

class TAirBrush {
public:
    TAirBrush();

    int Size() const { return m_size; }
    // 10..200 pixels; anything else is ignored.
    void setSize(int size);
    TColour Color() const { return m_colour; }
    void setColor(TColour c) { m_colour = c & 0xFFFFFFu; }
    int Intensity() const { return m_intensity; }
    // 1..100 percent; anything else is ignored.
    void setIntensity(int percent);
    TAirBrushShape Shape() const { return m_shape; }
    void setShape(TAirBrushShape s) { m_shape = s; }

    // One blot centred on (x, y). White is the transparent colour: mask pixels left
    // white and blended pixels that come out white leave the picture as it was.
    void Spray(Canvas &surface, int x, int y);

    // The shape mask of the last spray (white where nothing is laid).
    const QImage &shapeBitmap() const { return m_shapeBitmap; }

private:
    void buildMask();

    int m_size = 40;
    TColour m_colour = clBlack;
    int m_intensity = 10;
    TAirBrushShape m_shape = absRound;
    QImage m_shapeBitmap;
};

} // namespace vermeo
