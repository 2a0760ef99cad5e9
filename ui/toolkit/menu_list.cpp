// MenuList item placement.
#include "ui/toolkit/menu_list.h"

namespace vesk {

MenuList::MenuList(AppFrame* frame, int x, int y, int width, int height, int backgroundResource)
    : ScrollView(frame, x, y, width, height) {
    if (backgroundResource) setBackground(backgroundResource, false);
}

MenuList::~MenuList() { deleteAllChildren(); }

void MenuList::addItem(Widget* item) {
    if (!item) return;
    if (!children_.empty()) next_ += spacing_;
    const Rect& r = item->rect();
    if (orientation_ == 1) {
        item->moveTo(0, next_);
        if (r.width() > rect_.width()) rect_.right = rect_.left + r.width();
        if (r.width() > contentWidth_) contentWidth_ = r.width();
        next_ += r.height();
        if (next_ > contentHeight_) contentHeight_ = next_;
    } else {
        item->moveTo(next_, 0);
        if (r.height() > rect_.height()) rect_.bottom = rect_.top + r.height();
        if (r.height() > contentHeight_) contentHeight_ = r.height();
        next_ += r.width();
        if (next_ > contentWidth_) contentWidth_ = next_;
    }
    addChild(item);
}

}  // namespace vesk
