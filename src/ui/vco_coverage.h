#pragma once

#include <QWidget>

namespace kelvane::ui {

// A small picture of the VCO coverage: the chip's whole VCO range as a scale,
// each variant's range as a bar with its name, and a marker at the VCO
// frequency of the plan, red when the frequency lies outside the chip's range.
class VcoCoverage : public QWidget {
    Q_OBJECT
public:
    explicit VcoCoverage(QWidget* parent = nullptr);

    void setFrequency(double fvco);
    double frequency() const { return fvco_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double fvco_ = 0;
};

} // namespace kelvane::ui
