#include "TFractalImage.h"

#include "PixelRows.h"
#include "ProgramRandom.h"

#include <QApplication>
#include <QDateTime>
#include <QPainter>
#include <cstring>

namespace vermeo::geometry {

namespace {
// About 30 repaints a second: enough to watch, cheap next to the drawing.
constexpr qint64 kShowEveryMs = 33;

// The hourglass for the time of a drawing, the earlier cursor back also on failure.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

TFractalImage::TFractalImage(QWidget *parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

TFractalImage::~TFractalImage() = default;

void TFractalImage::setPicture(const QImage &img)
{
    m_picture = toWorkingImage(img);
    m_shown = m_picture.copy();
    update();
}

void TFractalImage::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (!active) {
        stop();
        return;
    }
    // One drawing at a time: a second request while one runs (its steps answer
    // clicks) changes nothing.
    if (m_drawing)
        return;
    struct Inactive {
        bool &active, &drawing;
        ~Inactive() { active = drawing = false; }
    } inactive{m_active, m_drawing};
    m_drawing = true;
    draw();
}

void TFractalImage::draw()
{
    const WaitCursor hourglass;
    m_stop = false;
    m_repaints = 0;
    m_seed = seedSource ? seedSource() : std::uint32_t(ProgramRandom::clockSeed());
    const FractalSettings settings = settingsOf(m_properties, m_seed);
    // The picture takes the control's size.
    m_picture = newWorkingImage(std::max(width(), 1), std::max(height(), 1), 0xFFFFFFFFu);
    m_shown = m_picture.copy();
    m_byRows = settings.type == ftMandelBrot || settings.type == ftJulian;
    const int h = m_picture.height();
    m_rowDone.reset(new std::atomic<bool>[size_t(h)]);
    for (int y = 0; y < h; ++y)
        m_rowDone[size_t(y)] = false;
    m_rowShown.assign(size_t(h), false);
    m_sinceShown.start();
    m_stoppedEarly = false;
    drawFractal(m_picture, settings, *this);
    m_stoppedEarly = m_stop;
    m_shown = m_picture.copy();
    update();
}

void TFractalImage::rowFinished(int y) { m_rowDone[size_t(y)].store(true, std::memory_order_release); }

void TFractalImage::refreshShown()
{
    if (!m_byRows) {
        // Drawn on this thread: the picture is whole between two steps.
        m_shown = m_picture.copy();
        return;
    }
    // Rows other threads are still writing are left out until they are finished.
    const auto from = rowsOf(std::as_const(m_picture));
    const auto to = rowsOf(m_shown);
    for (int y = 0; y < m_picture.height(); ++y)
        if (!m_rowShown[size_t(y)] && m_rowDone[size_t(y)].load(std::memory_order_acquire)) {
            std::memcpy(to[y], from[y], size_t(m_picture.width()) * sizeof(QRgb));
            m_rowShown[size_t(y)] = true;
        }
}

void TFractalImage::drawn()
{
    if (m_sinceShown.elapsed() < kShowEveryMs)
        return;
    refreshShown();
    ++m_repaints;
    repaint();
    // The rest of the program answers meanwhile: a click on "Annuler" stops the drawing.
    QCoreApplication::processEvents();
    m_sinceShown.restart();
}

void TFractalImage::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, m_shown);
}

} // namespace vermeo::geometry
