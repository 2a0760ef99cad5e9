// The home screen over panel time, seen through the screen's pixels: tabs
// and pages, the "ИНФО" blink, the temperature panel and its power bar,
// the boiler picture's animations, fire, smoke, bunker label and flue-gas
// colour, the fuel icon, the network icons and the signal indicator.
#include "screens_fixture.h"
#include "ui/screens/boiler_page.h"
#include "ui/screens/home_screen.h"
#include "ui/screens/info_page.h"
#include "ui/screens/pumps_page.h"

namespace vesk::test {
namespace {

// Where the boiler picture's parts land on the screen, per variant.
struct BoilerPlaces {
    Point fan, auger, fire;
    Rect flueGas, bunker;
};

BoilerPlaces placesFor(Variant v) {
    if (isKestralo(v)) return {{221, 206}, {256, 185}, {179, 142}, Rect::ofSize(145, 92, 46, 16), {217, 74, 292, 104}};
    return {{230, 169}, {245, 190}, {184, 145}, Rect::ofSize(157, 111, 46, 16), {235, 69, 309, 99}};
}

constexpr Rect kWaterValue{10, 64, 58, 89};   // panel value 1 on the screen
constexpr int kBarLeft = 70, kBarRow = 168;   // the power bar's middle row
constexpr Point kFuelIcon{190, 172};
constexpr Point kNetIcon{115, 226};
constexpr Point kSignal{113, 201};
constexpr Point kInfoTabCorner{245, 3};

class HomeScreenTest : public BothVariants {
protected:
    HomeScreen* open() {
        home = new HomeScreen(frame.get(), ctx);
        frame->setRoot(home);
        frame->invalidateAll();
        frame->processPending();
        return home;
    }
    int fullBarColumns() {
        int n = 0;
        for (int x = kBarLeft; x < kBarLeft + 47; ++x) n += px(x, kBarRow) == pictureColor(284);
        return n;
    }
    uint32_t frameAt(const char* file, int f) { return frameColor(animationNumber(file), f); }
    const char* augerFile() const { return kestralo() ? "worm.mbm" : "wormORVENA.mbm"; }

    HomeScreen* home = nullptr;
    BoilerPlaces at = placesFor(GetParam());
};

TEST_P(HomeScreenTest, TabsShowOnePageAtATime) {
    open();
    EXPECT_EQ(home->currentPage(), kBoilerPage);
    EXPECT_EQ(px(5, 3), pictureColor(170)) << "the boiler tab starts selected";
    EXPECT_EQ(px(85, 3), pictureColor(171));

    tap(100, 10);
    EXPECT_EQ(home->currentPage(), kPumpsPage);
    EXPECT_EQ(px(5, 3), pictureColor(171));
    EXPECT_EQ(px(85, 3), pictureColor(170));
    EXPECT_EQ(px(24 + 14, 56 + 14), pictureColor(203)) << "the pumps page is painted";
    EXPECT_EQ(px(230, 169), pictureColor(167)) << "the boiler picture is gone";
    int pagesShown = 0;
    for (int i = 0; i < 4; ++i)
        for (Widget* c : home->children()) pagesShown += c == home->page(i);
    EXPECT_EQ(pagesShown, 1);
    EXPECT_FALSE(frame->timerRunning(home->boilerPage())) << "a page that is not shown keeps no timer";

    tap(100, 10);  // the page already shown only repaints
    EXPECT_EQ(home->currentPage(), kPumpsPage);
    state.sensors[kSensorWater] = 0x4000;
    state.burnerState = kBurning;
    tap(20, 10);
    EXPECT_EQ(home->currentPage(), kBoilerPage);
    EXPECT_EQ(px(at.fan.x, at.fan.y), frameAt("fan.mbm", 0));
    EXPECT_EQ(home->boilerPage()->panel()->valueText(0), "--°C") << "up to date as soon as it is shown";
    EXPECT_EQ(px(at.fire.x, at.fire.y), frameAt("fire.mbm", 0));
}

TEST_P(HomeScreenTest, InfoTabBlinksOnlyAwayFromTheInfoPage) {
    open();
    tap(280, 10);
    state.faults = 0x004;
    refresh();
    advance(1200);
    EXPECT_EQ(home->infoTab()->alertLevel(), 0) << "a fault while the info page is shown does not blink";
    EXPECT_FALSE(frame->timerRunning(home->infoTab()));
    EXPECT_EQ(px(kInfoTabCorner.x, kInfoTabCorner.y), pictureColor(170));

    tap(20, 10);
    refresh();
    EXPECT_EQ(home->infoTab()->alertLevel(), 2);
    EXPECT_EQ(px(kInfoTabCorner.x, kInfoTabCorner.y), pictureColor(171));
    advance(500);
    EXPECT_EQ(px(kInfoTabCorner.x, kInfoTabCorner.y), pictureColor(244)) << "fault face after 500 ms";
    advance(500);
    EXPECT_EQ(px(kInfoTabCorner.x, kInfoTabCorner.y), pictureColor(171));

    state.faults = 0;
    state.warnings = 0x004;
    refresh();
    advance(500);
    EXPECT_EQ(px(kInfoTabCorner.x, kInfoTabCorner.y), pictureColor(243)) << "warning face";
    state.warnings = 0;
    refresh();
    advance(1000);
    EXPECT_EQ(px(kInfoTabCorner.x, kInfoTabCorner.y), pictureColor(171));
    EXPECT_FALSE(frame->timerRunning(home->infoTab()));
}

TEST_P(HomeScreenTest, PanelTemperaturesFailedReadingsAndTenths) {
    open();
    state.sensors[kSensorWater] = 0x4000;
    refresh();
    const auto dashes = grab(kWaterValue);
    state.sensors[kSensorWater] = 0x4001;
    refresh();
    EXPECT_EQ(grab(kWaterValue), dashes);
    EXPECT_EQ(home->boilerPage()->panel()->valueText(0), "--°C");

    state.sensors[kSensorWater] = 21;
    refresh();
    const auto twentyOne = grab(kWaterValue);
    EXPECT_NE(twentyOne, dashes);
    state.boardVersion = 0x2215;
    state.sensors[kSensorWater] = 215;
    refresh();
    EXPECT_EQ(grab(kWaterValue), twentyOne) << "tenths of a degree on firmware 0x2215";
}

TEST_P(HomeScreenTest, RefreshRedrawsOnlyTheBoxesThatChanged) {
    open();
    state.sensors[kSensorWater] = 40;
    state.sensors[kSensorAir] = 20;
    refresh();
    // Marks in the water and air boxes show which box is drawn again.
    constexpr uint32_t kMark = 0x123456;
    auto mark = [&](int x, int y) { display.pixels()[y * kScreenWidth + x] = kMark; };
    mark(kWaterValue.left + 1, kWaterValue.top + 1);
    mark(kWaterValue.left + 57, kWaterValue.top + 1);
    refresh();
    EXPECT_EQ(px(kWaterValue.left + 1, kWaterValue.top + 1), kMark) << "nothing changed, nothing drawn";
    state.sensors[kSensorWater] = 41;
    refresh();
    EXPECT_NE(px(kWaterValue.left + 1, kWaterValue.top + 1), kMark) << "the water box is drawn again";
    EXPECT_EQ(px(kWaterValue.left + 57, kWaterValue.top + 1), kMark) << "the air box stays";
    EXPECT_EQ(home->boilerPage()->panel()->valueText(0), "41°C");
}

TEST_P(HomeScreenTest, PowerBarDrawsColumnsFromTheFullPicture) {
    open();
    state.burnerState = kBurning;
    const std::pair<int, int> cases[] = {{1, 1}, {99, 45}, {50, 23}, {0, 0}, {100, 47}};
    for (auto [percent, columns] : cases) {
        state.burner.powerDisplay = percent;
        refresh();
        EXPECT_EQ(fullBarColumns(), columns) << percent << " %";
    }
    state.burner.powerDisplay = 80;
    state.usr.BURN_MODE = 2;
    refresh();
    EXPECT_EQ(fullBarColumns(), 0) << "firewood shows an empty bar";
}

TEST_P(HomeScreenTest, FlueGasReadoutDeepensToRed) {
    open();
    auto has = [&](uint32_t pixel) { return count(at.flueGas, pixel) > 0; };
    state.sensors[kSensorGas] = 25;
    refresh();
    EXPECT_TRUE(has(0x000000));
    state.sensors[kSensorGas] = 158;
    refresh();
    EXPECT_TRUE(has(0xC70000));
    EXPECT_FALSE(has(0x000000));
    state.sensors[kSensorGas] = 159;
    refresh();
    EXPECT_TRUE(has(0xC80000));
    EXPECT_FALSE(has(0xC70000));
    state.sensors[kSensorGas] = 0x4000;
    refresh();
    EXPECT_TRUE(has(0x000000)) << "a failed reading is drawn in black";
}

TEST_P(HomeScreenTest, AugerAndFanAnimateOnlyWhileTheyRun) {
    open();
    auto fan = [&] { return px(at.fan.x, at.fan.y); };
    auto auger = [&] { return px(at.auger.x, at.auger.y); };
    EXPECT_EQ(fan(), frameAt("fan.mbm", 0));
    EXPECT_EQ(auger(), frameAt(augerFile(), 0));

    state.fanPower = 40;
    state.augerOn = 1;
    refresh();
    advance(150);
    EXPECT_EQ(fan(), frameAt("fan.mbm", 1));
    EXPECT_EQ(auger(), frameAt(augerFile(), 1));
    advance(150);
    EXPECT_EQ(fan(), frameAt("fan.mbm", 3));
    EXPECT_EQ(auger(), frameAt(augerFile(), 2));

    state.fanPower = 0;
    state.augerOn = 0;
    refresh();
    advance(1000);
    EXPECT_EQ(fan(), frameAt("fan.mbm", 3)) << "a stopped animation keeps its last frame";
    EXPECT_EQ(auger(), frameAt(augerFile(), 2));

    // The emergency feed turns the auger (with a tube reading), never the fan.
    state.fanPower = 40;
    state.emergencyMode = 1;
    state.sensors[kSensorValve2] = 80;
    refresh();
    advance(150);
    EXPECT_EQ(auger(), frameAt(augerFile(), 3));
    EXPECT_EQ(fan(), frameAt("fan.mbm", 3));
}

TEST_P(HomeScreenTest, FireAndSmokeFollowTheBurner) {
    open();
    auto flame = [&] { return px(at.fire.x, at.fire.y); };
    EXPECT_EQ(flame(), pictureColor(226)) << "both start hidden";
    state.burnerState = kBurning;
    refresh();
    EXPECT_EQ(flame(), frameAt("fire.mbm", 0));
    advance(130);
    EXPECT_EQ(flame(), frameAt("fire.mbm", 1));

    state.burner.keepMode = 1;
    refresh();
    EXPECT_EQ(flame(), frameAt("smoke.mbm", 0));
    EXPECT_FALSE(home->boilerPage()->boiler()->fire()->running());

    state.faults = 0x008;
    refresh();
    EXPECT_EQ(flame(), pictureColor(226));
    EXPECT_FALSE(home->boilerPage()->boiler()->smoke()->running());
    advance(1000);
    EXPECT_EQ(flame(), pictureColor(226));
}

TEST_P(HomeScreenTest, BunkerLabelBlinksEvery300ms) {
    open();
    const uint32_t dark = 0xC80000;  // the label's text colour 200
    if (kestralo()) {
        state.usr.BUNK_SENSOR_ENABLE = 1;
        state.boardInputs = kInBunkerEmpty;  // the other variant's input
    } else {
        state.usr.USE_EMPTY_SENS = 1;
        state.boardInputs = kInBunkerFull;
    }
    refresh();
    advance(1000);
    EXPECT_EQ(count(at.bunker, dark), 0) << "the other input does not blink";

    state.boardInputs = kestralo() ? kInBunkerFull : kInBunkerEmpty;
    refresh();
    EXPECT_EQ(count(at.bunker, dark), 0);
    advance(300);
    EXPECT_GT(count(at.bunker, dark), 0);
    advance(300);
    EXPECT_EQ(count(at.bunker, dark), 0);
    advance(300);
    EXPECT_GT(count(at.bunker, dark), 0);

    state.boardInputs = 0;
    refresh();
    EXPECT_EQ(count(at.bunker, dark), 0);
    EXPECT_FALSE(frame->timerRunning(home->boilerPage()->boiler()));
}

// The board falls silent (the receiver's time-out clears linkOk): the
// boiler page stops telling of a fire it cannot see, and takes it all back
// with the next frame.
TEST_P(HomeScreenTest, LostBoardLinkStopsThePicturesUntilFramesReturn) {
    state.burnerState = kBurning;
    state.burner.powerDisplay = 64;
    state.fanPower = 55;
    state.augerOn = 1;
    state.sensors[kSensorWater] = 65;
    state.sensors[kSensorGas] = 150;
    if (kestralo()) {
        state.usr.BUNK_SENSOR_ENABLE = 1;
        state.boardInputs = kInBunkerFull;
    } else {
        state.usr.USE_EMPTY_SENS = 1;
        state.boardInputs = kInBunkerEmpty;
    }
    open();
    BoilerPage* page = home->boilerPage();
    BoilerPicture* boiler = page->boiler();
    auto flame = [&] { return px(at.fire.x, at.fire.y); };
    auto expectBurning = [&](const char* when) {
        EXPECT_EQ(page->panel()->modeText(), "ГОРЕНИЕ") << when;
        EXPECT_EQ(page->panel()->valueText(0), "65°C") << when;
        EXPECT_TRUE(boiler->fan()->running()) << when;
        EXPECT_TRUE(boiler->bunkerBlinking()) << when;
        EXPECT_EQ(flame(), frameAt("fire.mbm", 0)) << when;
        EXPECT_GT(fullBarColumns(), 0) << when;
    };
    expectBurning("heard");

    state.linkOk = 0;
    refresh();
    EXPECT_EQ(page->panel()->modeText(), "НЕТ СВЯЗИ");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(page->panel()->valueText(i), "--°C") << i;
    EXPECT_EQ(boiler->flueGas()->text(), "--°C");
    EXPECT_EQ(fullBarColumns(), 0);
    EXPECT_FALSE(boiler->fan()->running());
    EXPECT_FALSE(boiler->auger()->running());
    EXPECT_FALSE(boiler->fire()->visible());
    EXPECT_FALSE(boiler->smoke()->visible());
    EXPECT_FALSE(boiler->bunkerBlinking()) << "the inputs are as old as the last frame";
    advance(1000);
    EXPECT_EQ(flame(), pictureColor(226)) << "the firebox stands cold";

    tap(100, 10);
    for (int row = 0; row < 3; ++row) EXPECT_NE(home->pumpsPage()->pump(row)->state(), 2) << row;
    EXPECT_EQ(home->pumpsPage()->readout(PumpsPage::kHeatingTemp)->text(), "--°C");
    tap(20, 10);
    EXPECT_EQ(page->panel()->modeText(), "НЕТ СВЯЗИ") << "still so when the page comes back";

    state.linkOk = 1;
    refresh();
    expectBurning("heard again");
}

TEST_P(HomeScreenTest, FuelIconShowsThroughTheBoilerPicture) {
    state.usr.FUEL = 1;
    open();
    EXPECT_EQ(px(kFuelIcon.x, kFuelIcon.y), pictureColor(291));
    state.usr.FUEL = 2;
    refresh();
    EXPECT_EQ(px(kFuelIcon.x, kFuelIcon.y), pictureColor(291)) << "chosen when the page is shown";
    tap(100, 10);
    tap(20, 10);
    EXPECT_EQ(px(kFuelIcon.x, kFuelIcon.y), pictureColor(292));
}

TEST_P(HomeScreenTest, NetworkIconsFollowTheLinkEverySecond) {
    network.view = {false, true, 0xC0A80005, true};
    open();
    auto icon = [&] { return px(kNetIcon.x, kNetIcon.y); };
    EXPECT_EQ(icon(), pictureColor(167)) << "no icon while access is off";
    network.view = {true, true, 0xC0A80005, false};
    advance(999);
    EXPECT_EQ(icon(), pictureColor(167));
    advance(1);
    EXPECT_EQ(icon(), pictureColor(286));
    network.view.remoteUp = true;
    advance(1000);
    EXPECT_EQ(icon(), pictureColor(287));
    network.view.address = 0xA9FE1234;
    advance(1000);
    EXPECT_EQ(icon(), pictureColor(285));
    network.view.enabled = false;
    advance(1000);
    EXPECT_EQ(icon(), pictureColor(167));
}

TEST_P(HomeScreenTest, SignalIndicatorAndTheEventFlash) {
    open();
    auto signal = [&] { return px(kSignal.x, kSignal.y); };
    state.expansionSignal = 3;
    refresh();
    EXPECT_EQ(signal(), pictureColor(167)) << "hidden without the module";
    state.expansionConnected = 1;
    refresh();
    EXPECT_EQ(signal(), pictureColor(302));
    state.expansionSignal = 255;
    refresh();
    EXPECT_EQ(signal(), pictureColor(299));

    state.expansionEvent = 1;
    refresh();
    EXPECT_EQ(signal(), pictureColor(241));
    std::vector<uint32_t> seen;
    for (int i = 0; i < 6; ++i) {
        advance(300);
        refresh();  // the event stays set until the flash is over
        seen.push_back(signal());
    }
    const uint32_t blank = pictureColor(167), envelope = pictureColor(241), bars = pictureColor(299);
    EXPECT_EQ(seen, (std::vector<uint32_t>{blank, envelope, blank, envelope, blank, bars}));
    EXPECT_EQ(state.expansionEvent, 0);
    advance(1000);
    EXPECT_EQ(signal(), bars);
}

INSTANTIATE_TEST_SUITE_P(Variants, HomeScreenTest, ::testing::Values(Variant::Orvena, Variant::Kestralo), variantName);

}  // namespace
}  // namespace vesk::test
