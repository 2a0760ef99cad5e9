#include "service_tool/service_page.h"

#include "ui/toolkit/label.h"

namespace vesk {

ServicePage::ServicePage(AppFrame* frame, ServiceRecord& record)
    : Screen(frame, 0, kPageTop, kScreenWidth, kPageHeight), record_(record) {}

Label* ServicePage::addHeading(std::string text, int height) {
    auto* l = new Label(this);
    l->setBounds(0, 0, kScreenWidth, height, 0, std::move(text));
    l->setFont(14, true);
    l->setTextFormat(kDtCenter | kDtVCenter);
    addChild(l);
    return l;
}

}  // namespace vesk
