// Value texts, value fields, labels and sensor readouts.
#include "toolkit_fixture.h"
#include "ui/toolkit/caption_value_field.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/screen.h"
#include "ui/toolkit/sensor_readout.h"
#include "ui/toolkit/value_field.h"
#include "ui/toolkit/value_format.h"

namespace vesk::test {
namespace {

TEST(ValueFormatTest, EveryKind) {
    struct Case {
        int kind, value;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, "0°C"},   {0, -12, "-12°C"}, {1, 30, "30с"},   {2, 15, "15м"},   {3, 0, "0%"},
        {3, 40, "40%"},  {4, 0, "0%"},      {4, 5, "+5%"},    {4, -5, "-5%"},   {5, 0, "0°C"},
        {5, 3, "+3°C"},  {5, -3, "-3°C"},   {6, 215, "21.5"}, {6, 5, "0.5"},    {6, 0, "0.0"},
        {6, -15, "-1.5"}, {6, -5, "-0.5"},  {7, 0, "ПН"},     {7, 6, "ВС"},     {7, 7, "ПН"},
        {7, -1, "ПН"},   {8, -7, "-7"},     {9, 5, ""},       {-1, 5, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(formatValue(c.kind, c.value), c.text) << c.kind << " " << c.value;
}

TEST(ValueFormatTest, SensorTexts) {
    int v = 215;
    EXPECT_EQ(sensorText(0, &v, 0), "215");
    EXPECT_EQ(sensorText(0, &v, kTenthsFirmware), "21");
    EXPECT_EQ(sensorText(1, &v, kTenthsFirmware), "21°C");
    EXPECT_EQ(sensorText(0, nullptr, 0), "-");
    EXPECT_EQ(sensorText(2, &v, 0), "");
    for (int bad : {0x4000, 0x4001, 0x7FFF, 0x10000}) {
        v = bad;
        EXPECT_EQ(sensorText(1, &v, 0), "--°C") << bad;
        EXPECT_EQ(sensorText(1, &v, kTenthsFirmware), "--°C") << bad;
    }
    v = 0x3FFF;
    EXPECT_EQ(sensorText(1, &v, 0), "16383°C");
    v = -5;
    EXPECT_EQ(sensorText(1, &v, 0), "-5°C");
}

class FieldsTest : public ToolkitTest {
protected:
    FieldsTest() {
        addPicture(193, 320, 240, 0x303030);
        addPicture(229, 150, 36, 0xE0E0E0, true);
        addPicture(228, 150, 36, 0x2080F0, true);
        screen = new Screen(frame.get());
        screen->setBackground(193, false);
        frame->setRoot(screen);
    }
    // How many pixels differ between two screen copies, and where.
    static Rect diff(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
        Rect box;
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x)
                if (a[size_t(y * kScreenWidth + x)] != b[size_t(y * kScreenWidth + x)]) box = box.unite({x, y, x + 1, y + 1});
        return box;
    }
    std::vector<uint32_t> copy() { return {display.pixels(), display.pixels() + kScreenWidth * kScreenHeight}; }
    Screen* screen;
};

TEST_F(FieldsTest, ValueFieldBoxesAndValueRepaint) {
    auto* f = new ValueField(screen);
    f->setBitmaps(20, 47, 229, 228);
    f->setText("ТЕМПЕРАТУРА");
    f->setValueKind(kValueSignedPercent);
    f->setValue(5, false);
    screen->addChild(f);
    EXPECT_EQ(f->rect(), (Rect{20, 47, 170, 83}));
    EXPECT_EQ(f->valueBox(), (Rect{123, 53, 164, 77}));
    EXPECT_EQ(f->captionBox(), (Rect{20, 47, 123, 83}));
    EXPECT_EQ(f->valueText(), "+5%");
    frame->invalidateAll();
    frame->processPending();

    const auto before = copy();
    f->setValue(-10, true);
    EXPECT_EQ(f->valueText(), "-10%");
    const Rect changed = diff(before, copy());
    ASSERT_FALSE(changed.empty());
    EXPECT_EQ(changed.intersect(f->valueBox()), changed);  // only the value box
    EXPECT_EQ(frame->fullPaints(), 1);

    f->setDashes(false);
    EXPECT_EQ(f->valueText(), "--");
}

TEST_F(FieldsTest, ValueFieldSelectsOnPenDownOnly) {
    auto* f = new CaptionValueField(screen);
    f->setBitmaps(20, 47, 229, 228);
    f->setText("ГИСТЕРЕЗИС");
    f->setSecondCaption("КОТЛА");
    int clicks = 0;
    f->setClickHandler([&](Widget&) { ++clicks; });
    screen->addChild(f);
    frame->invalidateAll();
    frame->processPending();
    frame->penDown(30, 50);
    EXPECT_TRUE(f->pressed());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(screenPixel(21, 48), toPixel(0x2080F0));
    frame->penUp(30, 50);
    EXPECT_TRUE(f->pressed());  // the selection stays until the owner clears it
    EXPECT_EQ(clicks, 1);
}

TEST_F(FieldsTest, LabelRestoresTheBackgroundUnderItsText) {
    auto* l = new Label(screen);
    l->setBounds(0, 0, 320, 25, 0, "ВНИМАНИЕ!");
    l->setFont(14, true);
    l->setTextFormat(kDtCenter | kDtVCenter);
    int clicks = 0;
    l->setClickHandler([&](Widget& s) {
        EXPECT_EQ(&s, l);
        ++clicks;
    });
    screen->addChild(l);
    frame->invalidateAll();
    frame->processPending();
    const auto withTitle = copy();
    l->setText("");
    l->repaint();
    // Old text gone: the whole label area is the screen's background again.
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 320; ++x) ASSERT_EQ(screenPixel(x, y), toPixel(0x303030)) << x << "," << y;
    EXPECT_FALSE(diff(withTitle, copy()).empty());
    frame->penDown(10, 10);
    EXPECT_EQ(clicks, 0);
    frame->penUp(10, 10);
    EXPECT_EQ(clicks, 1);

    l->setNumber(-42);
    EXPECT_EQ(l->text(), "-42");
}

TEST_F(FieldsTest, SensorReadoutReadsItsValueAtEveryPaint) {
    addPicture(201, 48, 22, 0xFFFFFF, true);
    int reading = 0x4000;
    auto* r = new SensorReadout(screen);
    r->setBounds(54, 61, 0, 0, 201, &reading);
    r->setMode(1);
    screen->addChild(r);
    EXPECT_EQ(r->rect(), (Rect{54, 61, 102, 83}));
    EXPECT_EQ(r->text(), "--°C");
    reading = 65;
    EXPECT_EQ(r->text(), "65°C");
    r->setFirmware(kTenthsFirmware);
    reading = 655;
    EXPECT_EQ(r->text(), "65°C");
    frame->invalidateAll();
    frame->processPending();
    // Red text on the white picture.
    r->setTextColor(kRed);
    r->repaint();
    bool red = false;
    for (int y = 61; y < 83; ++y)
        for (int x = 54; x < 102; ++x) red = red || screenPixel(x, y) == toPixel(kRed);
    EXPECT_TRUE(red);
}

}  // namespace
}  // namespace vesk::test
