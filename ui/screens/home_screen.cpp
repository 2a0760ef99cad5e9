// HomeScreen: tabs swap the one page that is a child of the screen.
#include "ui/screens/home_screen.h"

#include "ui/screens/boiler_page.h"
#include "ui/screens/data_page.h"
#include "ui/screens/home_rules.h"
#include "ui/screens/info_page.h"
#include "ui/screens/pumps_page.h"
#include "ui/toolkit/app_frame.h"

namespace vesk {

namespace {
constexpr int kHomeBackground = 167;
constexpr int kTabNormal = 171;
constexpr int kTabPressed = 170;
constexpr int kTabWarning = 243;
constexpr int kTabFault = 244;
constexpr int kButtonNormal = 173;
constexpr int kButtonPressed = 172;
constexpr Color kCaptionBlue = 0xC37C00;
}  // namespace

HomeScreen::HomeScreen(AppFrame* frame, ScreenContext& ctx)
    : Screen(frame), ctx_(ctx), snapshot_(takeSnapshot(ctx.state())) {
    setBackground(kHomeBackground, false);
    const char* const names[4] = {"КОТЕЛ", "НАСОСЫ", "ДАННЫЕ", "ИНФО"};
    for (size_t i = 0; i < 4; ++i) {
        TabButton* t = i == kInfoPage ? (infoTab_ = new AlertTabButton(this)) : new TabButton(this);
        t->setBitmaps(static_cast<int>(i) * 80, 0, kTabNormal, kTabPressed);
        t->setText(names[i]);
        t->setClickHandler([this](Widget& s) { onTab(s); });
        addChild(t);
        tabs_[i] = t;
    }
    infoTab_->setAlertBitmaps(kTabWarning, kTabFault);
    tabs_[kBoilerPage]->setPressed(true, false);

    menu_ = new Button(this);
    menu_->setBitmaps(0, 188, kButtonNormal, kButtonPressed);
    menu_->setText("МЕНЮ");
    menu_->setFont(20, true);
    menu_->setTextColor(kCaptionBlue);
    menu_->setPressedTextColor(kWhite);
    menu_->setClickHandler([this](Widget&) {
        if (openMenu_) openMenu_();
    });
    addChild(menu_);

    pages_[kBoilerPage] = new BoilerPage(frame, ctx, snapshot_);
    pages_[kPumpsPage] = new PumpsPage(frame, snapshot_);
    if (isKestralo(snapshot_.variant))
        pages_[kDataPage] = new SetpointDataPage(frame, ctx);
    else
        pages_[kDataPage] = new FuelDataPage(frame, ctx);
    pages_[kInfoPage] = new InfoPage(frame, snapshot_, ctx.serviceLines);
    addChild(pages_[kBoilerPage]);
}

HomeScreen::~HomeScreen() {
    for (size_t i = 0; i < pages_.size(); ++i)
        if (static_cast<int>(i) != current_) delete pages_[i];
}

BoilerPage* HomeScreen::boilerPage() const { return static_cast<BoilerPage*>(pages_[kBoilerPage]); }
PumpsPage* HomeScreen::pumpsPage() const { return static_cast<PumpsPage*>(pages_[kPumpsPage]); }
InfoPage* HomeScreen::infoPage() const { return static_cast<InfoPage*>(pages_[kInfoPage]); }

void HomeScreen::show() {
    Screen::show();
    // Back from a menu: the refreshes of meanwhile went to the menu.
    refresh();
}

void HomeScreen::refresh() {
    snapshot_ = takeSnapshot(ctx_.state());
    pages_[static_cast<size_t>(current_)]->refresh();
    infoTab_->setAlert(infoAlertLevel(snapshot_.faults, snapshot_.warnings, current_ == kInfoPage));
}

void HomeScreen::onTab(Widget& sender) {
    int index = -1;
    for (size_t i = 0; i < tabs_.size(); ++i)
        if (&sender == tabs_[i]) index = static_cast<int>(i);
    if (index < 0) return;
    if (index != current_) {
        for (size_t i = 0; i < tabs_.size(); ++i)
            if (static_cast<int>(i) != index) tabs_[i]->setPressed(false, true);
        Widget* old = pages_[static_cast<size_t>(current_)];
        old->hide();
        removeChild(old);
        Widget* next = pages_[static_cast<size_t>(index)];
        addChild(next);
        current_ = index;
        next->show();
        // A page kept what it showed when it was left; bring it up to date.
        refresh();
    }
    invalidate();
}

}  // namespace vesk
