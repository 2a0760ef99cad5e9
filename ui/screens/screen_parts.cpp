// Shared screen pieces.
#include "ui/screens/screen_parts.h"

#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/message_box.h"

namespace vesk {

Label* addTitle(Widget* screen, const std::string& text, int y, int height) {
    auto* l = new Label(screen);
    l->setBounds(0, y, 320, height, 0, text);
    l->setFont(14, true);
    l->setTextFormat(kDtCenter | kDtVCenter);
    screen->addChild(l);
    return l;
}

Button* addWideButton(Widget* screen, int x, int y, const std::string& text, ClickHandler onClick) {
    auto* b = new Button(screen);
    b->setBitmaps(x, y, kWideButtonNormal, kWideButtonPressed);
    b->setText(text);
    b->setFont(20, true);
    b->setTextColor(kCaptionBlue);
    b->setPressedTextColor(kWhite);
    b->setClickHandler(std::move(onClick));
    screen->addChild(b);
    return b;
}

Button* addPictureButton(Widget* screen, int x, int y, int normal, int pressed, ClickHandler onClick) {
    auto* b = new Button(screen);
    b->setBitmaps(x, y, normal, pressed);
    b->setClickHandler(std::move(onClick));
    screen->addChild(b);
    return b;
}

ToggleButton* addCheckBox(Widget* screen, int x, int y, ClickHandler onClick) {
    constexpr int kCheckOff = 219, kCheckOn = 218;
    auto* t = new ToggleButton(screen);
    t->setBitmaps(x, y, kCheckOff, kCheckOn);
    t->setClickHandler(std::move(onClick));
    screen->addChild(t);
    return t;
}

Label* addCheckLabel(Widget* screen, int x, int y, int width, const std::string& text, ClickHandler onClick) {
    auto* l = new Label(screen);
    l->setBounds(x, y, width, 35, 0, text);
    l->setClickHandler(std::move(onClick));
    screen->addChild(l);
    return l;
}

void showMessage(AppFrame& frame, const std::string& title, const std::string& text) {
    auto* box = new MessageBox(&frame);
    box->build(title, text, 0);
    frame.push(box);
}

void closeScreen(Widget* screen) {
    AppFrame* f = screen->frame();
    if (f->top() == screen) f->pop();
    f->deleteLater(screen);
}

}  // namespace vesk
