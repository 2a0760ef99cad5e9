// "РАБОТА РЕВЕРСА": one button that starts the auger reverse test
// ("ВКЛЮЧИТЬ РЕВЕРС") and ends it ("ОТКЛЮЧИТЬ РЕВЕРС"); leaving the page
// while the test runs ends it too.
#pragma once
#include "control/burner_manual.h"
#include "ui/screens/menu/button_page.h"
#include "ui/screens/screen_context.h"

namespace vesk {

class ReversePage : public ButtonPage {
public:
    ReversePage(AppFrame* frame, ScreenContext& ctx);

    Button* switchButton() const { return buttons().front(); }
    // The test ends by itself after its run: the caption follows.
    void refresh() override;

protected:
    void back() override;

private:
    void flip();
    void showCaption(bool redraw);

    AugerReverseTest test_;
};

Widget* makeReversePage(AppFrame& frame, ScreenContext& ctx);

}  // namespace vesk
