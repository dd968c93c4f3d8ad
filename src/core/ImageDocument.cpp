#include "ImageDocument.h"

namespace vermeo {

int ImageDocument::PrintScale = 100;

ImageDocument::ImageDocument()
{
    m_canvas.setTarget(&m_picture.image);
    m_canvas.setBrushStyle(bsClear);
    m_canvas.setPenColour(clBlack);
}

void ImageDocument::assignImage(const QImage &img)
{
    Picture p = Picture::fromImage(img);
    assignPicture(p);
}

void ImageDocument::assignPicture(const Picture &pic)
{
    m_picture = pic;
    m_picture.image = toWorkingImage(m_picture.image);
    m_canvas.setTarget(&m_picture.image);
    m_canvas.takeDirty();
    if (onReplaced)
        onReplaced();
}

void ImageDocument::setDeclaredDepth(int depth, QList<QRgb> palette)
{
    m_picture.depth = depth;
    m_picture.palette = std::move(palette);
}

void ImageDocument::Init(int w, int h, TColour colour)
{
    QImage img = newWorkingImage(w, h, toQRgb(colour));
    m_undo = QImage(w, h, QImage::Format_RGB32);
    m_undo.fill(Qt::white);
    m_canvas.setPenColour(colour);
    m_canvas.setBrushColour(colour);
    Picture p;
    p.image = img;
    p.depth = 24;
    FileName.clear();
    ZoomLevel = 0;
    BaseWidth = w;
    BaseHeight = h;
    assignPicture(p);
}

void ImageDocument::SauveUndo()
{
    m_undo = m_picture.image.copy();
}

void ImageDocument::Annule()
{
    if (m_undo.isNull())
        return;
    Picture p = m_picture;
    p.image = m_undo.copy();
    assignPicture(p);
}

void ImageDocument::SaveStyles()
{
    PrevTool = Tool;
    SavedBrushStyle = m_canvas.brushStyle();
    SavedPenStyle = m_canvas.penStyle();
    SavedPenWidth = m_canvas.penWidth();
    SavedPenColor = m_canvas.penColour();
    SavedFontStyle = m_canvas.fontStyle();
}

void ImageDocument::RestoreStyles()
{
    Tool = PrevTool;
    m_canvas.setBrushStyle(SavedBrushStyle);
    m_canvas.setPenStyle(SavedPenStyle);
    m_canvas.setPenWidth(SavedPenWidth);
    m_canvas.setPenColour(SavedPenColor);
    m_canvas.setFontStyle(SavedFontStyle);
}

void ImageDocument::Efface()
{
    SauveUndo();
    SaveStyles();
    m_canvas.setCopyMode(CopyMode::Whiteness);
    m_canvas.CopyRect(m_picture.image.rect(), m_picture.image, m_picture.image.rect());
    m_canvas.setCopyMode(CopyMode::SrcCopy);
    RestoreStyles();
    // Erasing is a change like any other: "Enregistrer" must write it and closing must ask.
    Modif();
    flush();
}

void ImageDocument::flush()
{
    const QRect d = m_canvas.takeDirty();
    if (!d.isEmpty() && onChanged)
        onChanged(d);
}

} // namespace vermeo
