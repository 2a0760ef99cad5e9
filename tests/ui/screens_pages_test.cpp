// The other pages of the home screen: pumps and valves, the fuel figures
// and bunker stock (ORVENA), the set-points and modes (KESTRALO), and the
// information page with its tap counter.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "control/fuel_accounting.h"
#include "screens_fixture.h"
#include "ui/screens/data_page.h"
#include "ui/screens/home_screen.h"
#include "ui/screens/info_page.h"
#include "ui/screens/pumps_page.h"

namespace vesk::test {
namespace {

template <class Base>
class PagesOf : public Base {
protected:
    void openOn(int page) {
        home = new HomeScreen(this->frame.get(), this->ctx);
        this->frame->setRoot(home);
        this->frame->invalidateAll();
        this->frame->processPending();
        this->tap(page * 80 + 40, 10);
        this->refresh();
    }
    HomeScreen* home = nullptr;
};

using PumpsPageTest = PagesOf<BothVariants>;
using FuelPageTest = PagesOf<OrvenaScreens>;
using SetpointPageTest = PagesOf<KestraloScreens>;
using InfoPageTest = PagesOf<BothVariants>;

constexpr Point kPumpCentre[3] = {{38, 70}, {38, 111}, {38, 152}};
const Rect kHeatingReadout = Rect::ofSize(54, 61, 44, 18);
const Rect kRecirculationReadout = Rect::ofSize(54, 143, 44, 18);

TEST_P(PumpsPageTest, PumpIconsStillOrTurning) {
    state.usr.HEAT_MODE = 0;
    state.usr.USE_RECIRC = 0;
    state.usr.USE_HYDROSEP = 0;
    openOn(kPumpsPage);
    auto icon = [&](int i) { return px(kPumpCentre[i].x, kPumpCentre[i].y); };
    EXPECT_EQ(icon(0), pictureColor(203)) << "heating is always ready";
    EXPECT_EQ(icon(1), pictureColor(202));
    EXPECT_EQ(icon(2), pictureColor(202));

    state.pumpCh = 1;
    state.usr.USE_RECIRC = 1;
    refresh();
    const int n = animationNumber("pumpon.mbm");
    EXPECT_EQ(icon(0), frameColor(n, 0));
    EXPECT_EQ(icon(2), pictureColor(203));
    advance(100);
    EXPECT_EQ(icon(0), frameColor(n, 1));
    EXPECT_EQ(icon(2), pictureColor(203));

    state.pumpCh = 0;
    refresh();
    EXPECT_EQ(icon(0), pictureColor(203));
    EXPECT_FALSE(frame->timerRunning(home->pumpsPage()->pump(PumpsPage::kHeating)));
}

TEST_P(PumpsPageTest, ValveIndicatorsAndTheMechanicalFeedRow) {
    state.svc.EMSTART_ENABLE = 0;
    state.boardVersion = 0x1100;
    openOn(kPumpsPage);
    auto valve = [&](int i) { return px(195, i == 0 ? 192 : 218); };
    EXPECT_EQ(valve(0), pictureColor(204));
    state.usr.VLV1.MODE = 2;
    state.usr.VLV2.MODE = 1;
    refresh();
    EXPECT_EQ(valve(0), pictureColor(205));
    EXPECT_EQ(valve(1), pictureColor(205));

    // Boards that drive valve 2 themselves leave its indicator as it was.
    state.boardVersion = 0x2214;
    state.usr.VLV2.MODE = 0;
    refresh();
    EXPECT_EQ(valve(1), pictureColor(205));
    EXPECT_EQ(px(106, 207), pictureColor(274));

    state.svc.EMSTART_ENABLE = 1;
    refresh();
    EXPECT_EQ(home->pumpsPage()->valve2Label()->text(), "МЕХ.ПОДАЧИ");
    EXPECT_EQ(px(106, 207), pictureColor(167)) << "the mechanical feed label has no plate";
    EXPECT_EQ(valve(1), pictureColor(167)) << "and hides the indicator it would overlap";
}

TEST_P(PumpsPageTest, ReadoutsFollowTheHydraulicSeparatorAndTenths) {
    state.usr.USE_HYDROSEP = 0;
    state.sensors[kSensorWater] = 55;
    state.sensors[kSensorReturn] = 41;
    openOn(kPumpsPage);
    const auto heating55 = grab(kHeatingReadout);
    const auto recirc41 = grab(kRecirculationReadout);

    state.usr.USE_HYDROSEP = 1;
    state.sensors[kSensorCh] = 55;
    state.sensors[kSensorWater] = 41;
    state.sensors[kSensorReturn] = 12;
    refresh();
    EXPECT_EQ(grab(kHeatingReadout), heating55) << "heating circuit sensor with a separator";
    EXPECT_EQ(grab(kRecirculationReadout), recirc41) << "boiler water with a separator";

    state.boardVersion = 0x2215;
    state.sensors[kSensorCh] = 559;
    refresh();
    EXPECT_EQ(grab(kHeatingReadout), heating55);
}

TEST_F(FuelPageTest, BunkerSizeStepsWithinItsLimitsAndFillSaves) {
    FuelAccounting fuel(state, clock, timers);
    state.svc.feedRate[state.usr.FUEL] = 1563;
    fuel.load(nullptr);
    control.fuel = &fuel;
    state.usr.BUNK_SIZE = 9998;
    openOn(kDataPage);
    auto* page = static_cast<FuelDataPage*>(home->page(kDataPage));
    EXPECT_EQ(page->row(FuelDataPage::kVolume)->valueText(), "9998кг");
    EXPECT_EQ(page->row(FuelDataPage::kRemaining)->valueText(), "н.д.");
    EXPECT_EQ(page->row(FuelDataPage::kDay)->valueText(), "0кг");

    tap(285, 120);
    tap(285, 120);
    EXPECT_EQ(page->volume(), 9999) << "a value at its limit stays";
    for (int i = 0; i < 3; ++i) tap(285, 150);
    EXPECT_EQ(page->row(FuelDataPage::kVolume)->valueText(), "9996кг");
    EXPECT_EQ(state.usr.BUNK_SIZE, 9998) << "nothing is stored before the fill";

    tap(210, 135);
    EXPECT_EQ(state.usr.BUNK_SIZE, 9996);
    EXPECT_NE(readText(dir.file("user.cfg")).find("BUNK_SIZE=9996"), std::string::npos);
    EXPECT_EQ(page->row(FuelDataPage::kRemaining)->valueText(), "100%");

    state.usr.BUNK_SIZE = 10;
    tap(100, 10);
    tap(180, 10);
    tap(285, 150);
    EXPECT_EQ(page->volume(), 10);
}

TEST_F(SetpointPageTest, SetpointsAndModesEverySecond) {
    state.usr.POW_UST = 80;
    state.usr.TWAT_UST = 65;
    state.usr.HEAT_MODE = 2;
    state.usr.BURN_MODE = 1;
    openOn(kDataPage);
    auto* page = static_cast<SetpointDataPage*>(home->page(kDataPage));
    EXPECT_EQ(page->powerText()->text(), "80%");
    EXPECT_EQ(page->waterSetpoint()->text(), "65°C");
    EXPECT_EQ(page->heatModeLine()->text(), "РЕЖИМ ОБОГРЕВА: ПАРАЛЛЕЛЬНЫЕ НАСОСЫ");
    EXPECT_EQ(page->burnModeLine()->text(), "РЕЖИМ ГОРЕНИЯ: ПОЛУАВТОМАТ");

    const Rect powerBox = Rect::ofSize(54, 53, 44, 18);
    const auto before = grab(powerBox);
    state.usr.POW_UST = 35;
    state.usr.BURN_MODE = 0;
    state.usr.FUEL = 2;
    advance(999);
    EXPECT_EQ(grab(powerBox), before);
    advance(1);
    EXPECT_EQ(page->powerText()->text(), "35%");
    EXPECT_NE(grab(powerBox), before);
    EXPECT_EQ(page->burnModeLine()->text(), "ТИП ТОПЛИВА: ПЕЛЛЕТЫ");

    tap(20, 10);
    EXPECT_FALSE(frame->timerRunning(page));
}

TEST_P(InfoPageTest, FaultsOverWarningsAndTheTapCounter) {
    state.faults = 0x004;
    state.warnings = 0x008;
    openOn(kInfoPage);
    InfoPage* page = home->infoPage();
    const Rect headingBand{0, 40, 320, 65};
    auto headingShown = [&] { return count(headingBand, 0xFF0000) > 0; };
    EXPECT_EQ(page->view(), InfoPanelView::Faults);
    EXPECT_TRUE(page->faultHeading()->visible());
    EXPECT_TRUE(headingShown());
    EXPECT_EQ(page->listText(), "Датчик температуры воды\n");
    EXPECT_EQ(page->faultList()->text(), "Датчик температуры воды") << "one page, no blank line under it";

    const std::vector<int> expected = {1, 2, 3, 4, 0, 1};
    for (int want : expected) {
        tap(160, 213);
        EXPECT_EQ(page->tapCounter(), want);
        EXPECT_EQ(page->view(), want == 4 ? InfoPanelView::Info : InfoPanelView::Faults) << want;
        EXPECT_EQ(headingShown(), want != 4);
    }
    tap(150, 120);  // the labels count taps too
    EXPECT_EQ(page->tapCounter(), 2);

    state.faults = 0;
    refresh();
    EXPECT_EQ(page->view(), InfoPanelView::Warnings);
    EXPECT_TRUE(page->warningHeading()->visible());
    EXPECT_FALSE(page->faultHeading()->visible());

    tap(20, 10);
    tap(280, 10);
    EXPECT_EQ(page->tapCounter(), 0) << "showing the page resets the counter";
    state.warnings = 0;
    refresh();
    EXPECT_EQ(page->view(), InfoPanelView::Info);
    EXPECT_FALSE(headingShown());
}

TEST_P(InfoPageTest, LongListsUseASmallerFont) {
    state.faults = 0x004 | 0x008 | 0x001;
    openOn(kInfoPage);
    Label* list = home->infoPage()->faultList();
    auto lines = [&] { return countTextLines(home->infoPage()->listText()); };
    EXPECT_EQ(list->font().size, 14);
    // The two-line overheat text brings the list to eight lines.
    state.faults = 0x040 | 0x001 | 0x004 | 0x008 | 0x010 | 0x020 | 0x100;
    refresh();
    EXPECT_EQ(lines(), 8);
    EXPECT_EQ(list->font().size, 13);
    state.faults |= 0x080 | 0x400;
    refresh();
    EXPECT_EQ(lines(), 11);
    EXPECT_EQ(list->font().size, 12);
}

// Every fault, then every warning, of the variant at once: the list is
// split into pages that the page's own taps step through, no page ends in
// a cut row, nothing is lost, and every message starts a line of its own.
TEST_P(InfoPageTest, EveryMessageAtOnceIsPagedWithoutCuttingARow) {
    state.faults = 0x3FFF;
    state.warnings = 0xFFF;
    openOn(kInfoPage);
    InfoPage* page = home->infoPage();
    auto letters = [](std::string t) {
        t.erase(std::remove_if(t.begin(), t.end(), [](char c) { return c == '\n' || c == ' '; }), t.end());
        return t;
    };
    for (const InfoPanelView view : {InfoPanelView::Faults, InfoPanelView::Warnings}) {
        ASSERT_EQ(page->view(), view);
        const std::string whole = page->listText();
        const std::vector<std::string> pages = page->listPages();
        ASSERT_GT(pages.size(), 1u);
        ASSERT_LE(pages.size(), 4u) << "every page is reached before the tap that shows the information text";
        std::string joined;
        for (const std::string& p : pages) joined += p;
        EXPECT_EQ(letters(joined), letters(whole)) << "nothing lost between the pages";
        // Every message here fits a page, so none is split over two.
        const std::vector<std::string_view> messages =
            view == InfoPanelView::Faults ? faultMessages(state.faults)
                                          : warningMessages(state.variant, state.warnings, state.svc.EMSTART_ENABLE);
        for (std::string_view m : messages) {
            std::string body(m);
            while (!body.empty() && body.back() == '\n') body.pop_back();
            EXPECT_TRUE(std::any_of(pages.begin(), pages.end(),
                                    [&](const std::string& p) { return p.find(body) != std::string::npos; }))
                << body;
        }

        Label* list = view == InfoPanelView::Faults ? page->faultList() : page->warningList();
        for (int tapped = 0; tapped < 4; ++tapped) {
            const size_t shown = size_t(tapped) % pages.size();
            EXPECT_EQ(list->text(), pages[shown]) << tapped;
            EXPECT_EQ(page->pageMarker()->text(), std::to_string(shown + 1) + "/" + std::to_string(pages.size()));
            EXPECT_TRUE(page->pageMarker()->visible());
            // Drawn without the area's bottom edge, the page leaves no ink
            // below it: no row was cut.
            Bitmap tall = Bitmap::create(270, 400, true);
            {
                Painter p(tall);
                p.drawText(list->text(), {0, 0, 270, 400}, list->font(), kBlack, kDtWordBreak);
            }
            int below = 0;
            for (int y = 120; y < 400; ++y)
                for (int x = 0; x < 270; ++x) below += (tall.pixel(x, y) >> 24) != 0;
            EXPECT_EQ(below, 0) << "page " << shown << " of " << pages.size();
            EXPECT_GE(list->font().size, kInfoListSizeFloor);
            tap(160, 213);
        }
        EXPECT_EQ(page->view(), InfoPanelView::Info) << "the fifth tap still shows the information text";
        EXPECT_FALSE(page->pageMarker()->visible());
        tap(160, 213);
        EXPECT_EQ(page->view(), view);

        // Each message on a line of its own, the air sensor's included.
        for (int bit = 0; bit < 14; ++bit) {
            const std::string one = view == InfoPanelView::Faults
                                        ? faultListText(1u << bit)
                                        : warningListText(state.variant, 1u << bit, state.svc.EMSTART_ENABLE);
            const size_t at = one.empty() ? std::string::npos : whole.find(one);
            if (at == std::string::npos) continue;  // not listed, or the overheat line's twin
            EXPECT_TRUE(at == 0 || whole[at - 1] == '\n') << one;
        }
        state.faults = 0;
        refresh();
    }
}

TEST_P(InfoPageTest, ServiceLinesComeFromTheConfiguration) {
    ctx.serviceLines = {"", "Сервис: +7 495 100-20-30"};
    state.svc.SERIAL = 4021;
    openOn(kInfoPage);
    const std::string text = home->infoPage()->infoLabel()->text();
    EXPECT_NE(text.find("Номер котла: 4021\nСервис: +7 495 100-20-30\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("example"), std::string::npos);
    EXPECT_EQ(text.find("000 000"), std::string::npos) << "no placeholder contacts";
}

INSTANTIATE_TEST_SUITE_P(Variants, PumpsPageTest, ::testing::Values(Variant::Orvena, Variant::Kestralo), variantName);
INSTANTIATE_TEST_SUITE_P(Variants, InfoPageTest, ::testing::Values(Variant::Orvena, Variant::Kestralo), variantName);

}  // namespace
}  // namespace vesk::test
