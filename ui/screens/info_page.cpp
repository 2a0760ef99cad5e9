// InfoPage: which labels show is decided on every refresh and tap.
#include "ui/screens/info_page.h"

namespace vesk {

namespace {

constexpr int kEmblem = 242;
constexpr Color kTextBlue = 0x8C1C0C;
constexpr Color kHeadingRed = 255;
// Everything the labels cover: the headings' band down to the lists' end.
constexpr Rect kTextArea{0, 40, 320, 185};

}  // namespace

InfoPage::InfoPage(AppFrame* frame, const StateSnapshot& snapshot) : Page(frame), v_(snapshot) {
    auto onTap = [this](Widget&) { tap(); };
    emblem_ = adopt(this, new Picture(this));
    emblem_->setPicture(133, 190, kEmblem);
    emblem_->setClickHandler(onTap);

    auto label = [&](int x, int y, int w, int h, std::string_view text, Color color, unsigned format, bool shown) {
        auto* l = adopt(this, new Label(this));
        l->setBounds(x, y, w, h, 0, std::string(text));
        l->setFont(14, true);
        l->setTextColor(color);
        l->setTextFormat(format);
        l->setVisible(shown, false);
        l->setClickHandler(onTap);
        return l;
    };
    info_ = label(20, 55, 280, 120, {}, kTextBlue, kDtWordBreak, true);
    faultHeading_ = label(0, 40, 320, 65, kFaultHeading, kHeadingRed, kDtCenter, false);
    warningHeading_ = label(0, 40, 320, 65, kWarningHeading, kHeadingRed, kDtCenter, false);
    faultList_ = label(20, 65, 280, 120, {}, kTextBlue, kDtWordBreak, false);
    warningList_ = label(20, 65, 280, 120, {}, kTextBlue, kDtWordBreak, false);
}

void InfoPage::show() {
    taps_ = 0;
    Page::show();
    update(true);
}

void InfoPage::refresh() { update(false); }

void InfoPage::tap() {
    taps_ = nextInfoTap(taps_);
    update(false);
}

void InfoPage::update(bool force) {
    bool changed = force;
    auto setText = [&](Label* l, const std::string& text) {
        if (l->text() == text) return;
        l->setText(text);
        const int size = infoTextSize(text);
        l->setFont(size, true);
        changed = true;
    };
    const int emstart = v_.svc().EMSTART_ENABLE;
    // A list is rebuilt only when its word changed since it was built.
    if (!listsBuilt_ || v_.faults != shownFaults_) {
        shownFaults_ = v_.faults;
        setText(faultList_, faultListText(v_.faults));
    }
    if (!listsBuilt_ || v_.warnings != shownWarnings_ || emstart != shownEmstart_) {
        shownWarnings_ = v_.warnings;
        shownEmstart_ = emstart;
        setText(warningList_, warningListText(v_.variant, v_.warnings, emstart));
    }
    listsBuilt_ = true;
    setText(info_, infoText(v_.variant, v_.svc().BOILER_TYPE, v_.boardVersion, v_.linkOk, v_.svc().SERIAL));

    const InfoPanelView view = infoPanelView(v_.faults, v_.warnings, taps_);
    if (view != view_) changed = true;
    view_ = view;
    auto show = [](Label* l, bool on) { l->setVisible(on, false); };
    show(faultHeading_, view == InfoPanelView::Faults);
    show(faultList_, view == InfoPanelView::Faults);
    show(warningHeading_, view == InfoPanelView::Warnings);
    show(warningList_, view == InfoPanelView::Warnings);
    show(info_, view == InfoPanelView::Info);
    // Headings and lists overlap: the area is repainted whole, in order.
    if (changed && parent_) invalidate(&kTextArea);
}

}  // namespace vesk
