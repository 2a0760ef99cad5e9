// SensorReadout painting.
#include "ui/toolkit/sensor_readout.h"

#include "ui/toolkit/value_format.h"

namespace vesk {

void SensorReadout::setBounds(int x, int y, int width, int height, int bitmapResource, const int* value) {
    rect_ = Rect::ofSize(x, y, width, height);
    if (bitmapResource) {
        setBackground(bitmapResource, true);
        resize(background_.width(), background_.height());
    }
    value_ = value;
}

std::string SensorReadout::text() const { return sensorText(mode_, value_, firmware_); }

void SensorReadout::paint(Painter& p) {
    p.drawBitmap(background_, rect_.left, rect_.top);
    paintText(p, rect_, text(), {font_, color_, format_}, margins_);
}

}  // namespace vesk
