// A temperature (or number) bound to a reading of the controller state.
#pragma once
#include <cstdint>

#include "ui/toolkit/button_look.h"
#include "ui/toolkit/control.h"

namespace vesk {

class SensorReadout : public Control {
public:
    explicit SensorReadout(Widget* parent) : Control(parent) {}

    // `value` is read at every paint; null shows "-" (mode 0).
    void setBounds(int x, int y, int width, int height, int bitmapResource, const int* value);
    void bind(const int* value) { value_ = value; }
    const int* bound() const { return value_; }
    // Readings of firmware 0x2215 are in tenths of a degree.
    void setFirmware(uint16_t code) { firmware_ = code; }
    // 0: number, 1: "°C" with "--°C" for a failed reading.
    void setMode(int mode) { mode_ = mode; }
    void setTextColor(Color c) { color_ = c; }
    Color textColor() const { return color_; }
    void setFont(int size, bool bold) { font_ = {size, bold}; }
    void setMargins(int left, int top, int right, int bottom) { margins_ = {left, top, right, bottom}; }
    void setTextFormat(unsigned format) { format_ = format; }

    std::string text() const;
    void paint(Painter& p) override;

private:
    const int* value_ = nullptr;
    uint16_t firmware_ = 0;
    int mode_ = 0;
    Color color_ = kBlack;
    Font font_{12, true};
    Margins margins_{5, 0, 5, 0};
    unsigned format_ = kDtVCenter;
};

}  // namespace vesk
