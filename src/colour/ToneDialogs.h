#pragma once
// The six tone dialogs. Each previews with the same kernel and the same parameter
// as its command.
#include "AdjustDialog.h"

namespace vermeo::colour {

class TLumin : public AdjustDialog {
    Q_OBJECT
public:
    explicit TLumin(QWidget *parent = nullptr);

protected:
    int parameter() const override;
    QImage computePreview(const QImage &reference) override;
};

class TClart : public AdjustDialog {
    Q_OBJECT
public:
    explicit TClart(QWidget *parent = nullptr);

protected:
    int parameter() const override;
    QImage computePreview(const QImage &reference) override;
};

class TContrast : public AdjustDialog {
    Q_OBJECT
public:
    explicit TContrast(QWidget *parent = nullptr);

protected:
    int parameter() const override;
    QImage computePreview(const QImage &reference) override;
};

class TSatur : public AdjustDialog {
    Q_OBJECT
public:
    explicit TSatur(QWidget *parent = nullptr);

protected:
    int parameter() const override;
    QImage computePreview(const QImage &reference) override;
};

class TTeint : public AdjustDialog {
    Q_OBJECT
public:
    explicit TTeint(QWidget *parent = nullptr);
    // The offset (0 unless accepted) and the dominant-channel code.
    void Result(int &code, int &offset) const;
    // Finds the dominant channel of the preview; the code is kept from one dialog to the next.
    void Dominante();
    static int dominantCode() { return s_dominant; }
    static void setDominantCode(int code) { s_dominant = code; }

protected:
    int parameter() const override;
    QImage computePreview(const QImage &reference) override;
    void showEvent(QShowEvent *event) override;

private:
    static int s_dominant;
};

class TSolar : public AdjustDialog {
    Q_OBJECT
public:
    explicit TSolar(QWidget *parent = nullptr);

protected:
    int sliderToSpin(int position) const override { return position * 255 / 50; }
    int spinToSlider(int value) const override { return value * 50 / 255; }
    int parameter() const override;
    QImage computePreview(const QImage &reference) override;
};

} // namespace vermeo::colour
