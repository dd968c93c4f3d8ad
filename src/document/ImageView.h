#pragma once
// Image1: shows the document's picture at its own size and passes the mouse on.
#include <QWidget>

namespace vermeo {

class ImageDocument;

class ImageView : public QWidget {
    Q_OBJECT
public:
    explicit ImageView(ImageDocument &doc, QWidget *parent = nullptr);
    // The picture was replaced: take its size and repaint everything.
    void pictureReplaced();
    QSize sizeHint() const override;

signals:
    void pressed(Qt::MouseButton button, Qt::KeyboardModifiers mods, Qt::MouseButtons buttons, QPoint pos);
    void moved(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons, QPoint pos);
    void released(Qt::MouseButton button, Qt::KeyboardModifiers mods, Qt::MouseButtons buttons, QPoint pos);
    void doubleClicked(Qt::MouseButton button, Qt::KeyboardModifiers mods, Qt::MouseButtons buttons, QPoint pos);

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    ImageDocument &m_doc;
};

} // namespace vermeo
