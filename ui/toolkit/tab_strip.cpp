// TabStrip: selection and the scroll that follows it.
#include "ui/toolkit/tab_strip.h"

#include <algorithm>

#include "ui/toolkit/button.h"

namespace vesk {

namespace {
constexpr int kTabNormal = 171;
constexpr int kTabPressed = 170;
constexpr int kTabHeight = 28;
}  // namespace

TabStrip::TabStrip(AppFrame* frame, int x, int y, int width) : MenuList(frame, x, y, width, kTabHeight) {
    setOrientation(0);
}

void TabStrip::addTab(std::string caption) {
    auto* t = new Button(this);
    t->setBitmaps(0, 0, kTabNormal, kTabPressed);
    // The tab caption's place, as on the home screen's tabs.
    t->setTextFormat(kDtCenter);
    t->setMargins(0, 7, 0, 0);
    t->setFont(11, true);
    t->setText(std::move(caption));
    t->setClickHandler([this](Widget& s) { onTab(s); });
    addItem(t);
    tabs_.push_back(t);
}

void TabStrip::select(int i) {
    if (i < 0 || i >= count()) return;
    selected_ = i;
    for (int k = 0; k < count(); ++k) tabs_[size_t(k)]->setPressed(k == i, false);
    scrollIntoView(i);
    invalidate();
}

void TabStrip::scrollIntoView(int i) {
    const Rect& r = tabs_[size_t(i)]->rect();
    const int wanted = (r.left + r.right) / 2 - rect_.width() / 2;
    scrollBy(scrollX_ - wanted, 0);
}

void TabStrip::onTab(Widget& sender) {
    const auto it = std::find(tabs_.begin(), tabs_.end(), &sender);
    if (it == tabs_.end()) return;
    const int i = static_cast<int>(it - tabs_.begin());
    select(i);
    if (onSelect_) onSelect_(i);
}

}  // namespace vesk
