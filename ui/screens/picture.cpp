// Picture: one keyed bitmap.
#include "ui/screens/picture.h"

#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {

void Picture::setPicture(int x, int y, int resource) {
    resource_ = resource;
    face_ = frame_->resources().keyed(resource);
    rect_ = Rect::ofSize(x, y, face_.width(), face_.height());
}

void Picture::paint(Painter& p) { p.drawBitmap(face_, rect_.left, rect_.top); }

void Picture::penUp(Point) { click(); }

}  // namespace vesk
