#pragma once
// An image control that draws a fractal into its own picture, at its own size.
// Setting Active to true draws at once and sets it back to false; while it draws, the
// window stays responsive (repainted about 30 times a second) and stop() ends it.
#include "FractalDrawing.h"

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace vermeo::geometry {

class TFractalImage : public QWidget, private FractalMonitor {
    Q_OBJECT
public:
    explicit TFractalImage(QWidget *parent = nullptr);
    ~TFractalImage() override;

    TFractalProperties &FractalProperties() { return m_properties; }
    bool Active() const { return m_active; }
    void setActive(bool active);
    // Ends a drawing in progress (what is drawn so far stays).
    void stop() { m_stop = true; }
    bool drawing() const { return m_drawing; }

    // The control's picture: the stored one at first, then the last drawing.
    const QImage &picture() const { return m_picture; }
    void setPicture(const QImage &img);
    // The seed of the last drawing of Sierpinski or a function system.
    std::uint32_t lastSeed() const { return m_seed; }
    // Where seeds come from; the clock unless a test fixes them.
    std::function<std::uint32_t()> seedSource;
    // How many times the drawing was shown while it grew.
    int repaintsWhileDrawing() const { return m_repaints; }
    // Whether the last drawing was stopped before its end.
    bool stoppedEarly() const { return m_stoppedEarly; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void draw();
    void refreshShown();
    bool stopRequested() const override { return m_stop.load(std::memory_order_relaxed); }
    void rowFinished(int y) override;
    void drawn() override;

    TFractalProperties m_properties;
    bool m_active = false;
    bool m_drawing = false;
    std::atomic<bool> m_stop{false};
    QImage m_picture; // what the generator draws into
    QImage m_shown;   // what the control paints: the finished part of m_picture
    std::unique_ptr<std::atomic<bool>[]> m_rowDone;
    std::vector<bool> m_rowShown;
    bool m_byRows = false;
    QElapsedTimer m_sinceShown;
    std::uint32_t m_seed = 0;
    int m_repaints = 0;
    bool m_stoppedEarly = false;
};

} // namespace vermeo::geometry
