// ReversePage: the switch and its caption.
#include "ui/screens/menu/reverse_page.h"

namespace vesk {

namespace {
const char* const kStartCaption = "ВКЛЮЧИТЬ РЕВЕРС";
const char* const kStopCaption = "ОТКЛЮЧИТЬ РЕВЕРС";
}  // namespace

ReversePage::ReversePage(AppFrame* frame, ScreenContext& ctx)
    : ButtonPage(frame, "РАБОТА РЕВЕРСА", {{50, {kStartCaption, {}, [this](Widget&) { flip(); }}}}), test_(ctx.control) {}

void ReversePage::flip() {
    if (test_.running())
        test_.stop();
    else
        test_.start();
    showCaption(true);
}

void ReversePage::showCaption(bool redraw) {
    const std::string caption = test_.running() ? kStopCaption : kStartCaption;
    if (switchButton()->text() == caption) return;
    switchButton()->setText(caption);
    if (redraw) switchButton()->repaint();
}

void ReversePage::refresh() { showCaption(true); }

void ReversePage::back() {
    if (test_.running()) test_.stop();
    ButtonPage::back();
}

Widget* makeReversePage(AppFrame& frame, ScreenContext& ctx) { return new ReversePage(&frame, ctx); }

}  // namespace vesk
