// CaptionValueField: both caption lines, then the value.
#include "ui/toolkit/caption_value_field.h"

#include "ui/toolkit/two_line_button.h"

namespace vesk {

void CaptionValueField::paint(Painter& p) {
    p.drawBitmap(currentFace(), rect_.left, rect_.top);
    paintTwoLines(p, captionBox_, text_, second_, offset_, textStyle(), margins_);
    paintValue(p);
}

}  // namespace vesk
