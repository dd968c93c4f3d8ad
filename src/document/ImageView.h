#pragma once
// Image1: shows the document's view at its own size, with the marks (rubber band,
// selection outline, floating paste) over it, and hands the mouse to the tools.
#include <QWidget>
#include <functional>

namespace vermeo {

class ImageDocument;
class MouseSequence;

class ImageView : public QWidget {
    Q_OBJECT
public:
    ImageView(ImageDocument &doc, MouseSequence &mouse, QWidget *parent = nullptr);
    // The view was replaced: take its size and repaint everything.
    void viewReplaced();
    QSize sizeHint() const override;
    // Runs each mouse action; the window shows a failure there instead of letting it out.
    void setGuard(std::function<void(const std::function<void()> &)> guard) { m_guard = std::move(guard); }

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    ImageDocument &m_doc;
    MouseSequence &m_mouse;
    std::function<void(const std::function<void()> &)> m_guard;
    void run(const std::function<void()> &action) { m_guard ? m_guard(action) : action(); }
};

} // namespace vermeo
