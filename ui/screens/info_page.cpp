// InfoPage: which labels show is decided on every refresh and tap.
#include "ui/screens/info_page.h"

#include <algorithm>

#include "ui/toolkit/text_layout.h"

namespace vesk {

namespace {

constexpr int kEmblem = 242;
constexpr Color kTextBlue = 0x8C1C0C;
constexpr Color kHeadingRed = 255;
// Everything the labels cover: the headings' band down to the lists' end.
constexpr Rect kTextArea{0, 40, 320, 185};
constexpr Rect kListRect{20, 65, 300, 185};
constexpr Margins kListMargins{5, 0, 5, 0};
constexpr Rect kMarkerRect{256, 40, 316, 60};

const std::string kNoText;
const std::vector<std::string> kNoPages;

}  // namespace

InfoPage::InfoPage(AppFrame* frame, const StateSnapshot& snapshot, std::vector<std::string> serviceLines)
    : Page(frame), v_(snapshot), serviceLines_(std::move(serviceLines)) {
    auto onTap = [this](Widget&) { tap(); };
    emblem_ = adopt(this, new Picture(this));
    emblem_->setPicture(133, 190, kEmblem);
    emblem_->setClickHandler(onTap);

    auto label = [&](const Rect& r, std::string_view text, Color color, unsigned format, bool shown) {
        auto* l = adopt(this, new Label(this));
        l->setBounds(r.left, r.top, r.width(), r.height(), 0, std::string(text));
        l->setFont(14, true);
        l->setTextColor(color);
        l->setTextFormat(format);
        l->setVisible(shown, false);
        l->setClickHandler(onTap);
        return l;
    };
    info_ = label({20, 55, 300, 175}, {}, kTextBlue, kDtWordBreak, true);
    faults_.heading = label({0, 40, 320, 105}, kFaultHeading, kHeadingRed, kDtCenter, false);
    warnings_.heading = label({0, 40, 320, 105}, kWarningHeading, kHeadingRed, kDtCenter, false);
    faults_.label = label(kListRect, {}, kTextBlue, kDtWordBreak, false);
    warnings_.label = label(kListRect, {}, kTextBlue, kDtWordBreak, false);
    for (Label* l : {faults_.label, warnings_.label})
        l->setMargins(kListMargins.left, kListMargins.top, kListMargins.right, kListMargins.bottom);
    marker_ = label(kMarkerRect, {}, kTextBlue, kDtRight | kDtVCenter, false);
    marker_->setFont(12, true);
}

const InfoPage::List* InfoPage::shownList() const {
    if (view_ == InfoPanelView::Faults) return &faults_;
    if (view_ == InfoPanelView::Warnings) return &warnings_;
    return nullptr;
}

const std::string& InfoPage::listText() const {
    const List* l = shownList();
    return l ? l->text : kNoText;
}

const std::vector<std::string>& InfoPage::listPages() const {
    const List* l = shownList();
    return l ? l->pages : kNoPages;
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

bool InfoPage::setList(List& l, const std::vector<std::string_view>& messages) {
    std::string text = joinMessages(messages);
    if (l.text == text) return false;
    l.text = std::move(text);
    const Font font{std::max(infoTextSize(l.text), kInfoListSizeFloor), true};
    l.label->setFont(font.size, font.bold);
    const Rect area = kListRect.shrunk(kListMargins.left, kListMargins.top, kListMargins.right, kListMargins.bottom);
    l.pages = pageMessages(messages, area.width(), area.height(), font);
    return true;
}

void InfoPage::update(bool force) {
    bool changed = force;
    const int emstart = v_.svc().EMSTART_ENABLE;
    // A list is rebuilt only when its word changed since it was built.
    if (!listsBuilt_ || v_.faults != shownFaults_) {
        shownFaults_ = v_.faults;
        changed |= setList(faults_, faultMessages(v_.faults));
    }
    if (!listsBuilt_ || v_.warnings != shownWarnings_ || emstart != shownEmstart_) {
        shownWarnings_ = v_.warnings;
        shownEmstart_ = emstart;
        changed |= setList(warnings_, warningMessages(v_.variant, v_.warnings, emstart));
    }
    listsBuilt_ = true;
    const std::string info =
        infoText(v_.variant, v_.svc().BOILER_TYPE, v_.boardVersion, v_.linkOk, v_.svc().SERIAL, serviceLines_);
    if (info_->text() != info) {
        info_->setText(info);
        info_->setFont(infoTextSize(info), true);
        changed = true;
    }

    const InfoPanelView view = infoPanelView(v_.faults, v_.warnings, taps_);
    if (view != view_) changed = true;
    view_ = view;
    // The taps that step the counter also step through a long list.
    const std::vector<std::string>& pages = listPages();
    const int page = pages.empty() ? 0 : taps_ % static_cast<int>(pages.size());
    if (page != page_) changed = true;
    page_ = page;
    if (const List* l = shownList()) {
        const std::string& text = pages.empty() ? kNoText : pages[static_cast<size_t>(page)];
        if (l->label->text() != text) {
            l->label->setText(text);
            changed = true;
        }
    }
    const std::string marker =
        pages.size() > 1 ? std::to_string(page + 1) + "/" + std::to_string(pages.size()) : std::string();
    if (marker_->text() != marker) {
        marker_->setText(marker);
        changed = true;
    }

    auto show = [](Label* l, bool on) { l->setVisible(on, false); };
    show(faults_.heading, view == InfoPanelView::Faults);
    show(faults_.label, view == InfoPanelView::Faults);
    show(warnings_.heading, view == InfoPanelView::Warnings);
    show(warnings_.label, view == InfoPanelView::Warnings);
    show(info_, view == InfoPanelView::Info);
    show(marker_, !marker.empty());
    // Headings and lists overlap: the area is repainted whole, in order.
    if (changed && parent_) invalidate(&kTextArea);
}

}  // namespace vesk
