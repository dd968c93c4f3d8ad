#pragma once
// The start-up window: borderless, 318 x 221, centred on the screen.
#include <QWidget>

namespace vermeo {

class TSplash : public QWidget {
    Q_OBJECT
public:
    explicit TSplash(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *e) override;
};

} // namespace vermeo
