// Animation: stepping on its timer, the three drawing modes, empty files.
#include "toolkit_fixture.h"
#include "ui/toolkit/animation.h"
#include "ui/toolkit/screen.h"

namespace vesk::test {
namespace {

// An .mbm of `frames` solid frames w x h; frame i has colour index i+1,
// and the top-left pixel of every frame is index 0 (the key).
std::string mbmBytes(int frames, int period, int w, int h) {
    std::string b;
    auto p16 = [&](int v) {
        b.push_back(char(v & 0xFF));
        b.push_back(char((v >> 8) & 0xFF));
    };
    auto p32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(char((v >> (8 * i)) & 0xFF));
    };
    p16(frames);
    p16(period);
    const int stride = (w + 3) & ~3;
    for (int f = 0; f < frames; ++f) {
        p32(40);
        p32(uint32_t(w));
        p32(uint32_t(h));
        p16(1);
        p16(8);
        p32(0);
        p32(uint32_t(stride * h));
        p32(0);
        p32(0);
        p32(4);
        p32(0);
        // index 0 magenta key, 1 red, 2 green, 3 blue (blue, green, red, 0)
        const unsigned char pal[16] = {0xFF, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};
        b.append(reinterpret_cast<const char*>(pal), 16);
        for (int row = 0; row < h; ++row)
            for (int x = 0; x < stride; ++x) {
                const bool topLeft = row == h - 1 && x == 0;  // bottom-up: last stored row is the top
                b.push_back(char(topLeft ? 0 : f % 3 + 1));
            }
    }
    return b;
}

class AnimationTest : public ToolkitTest {
protected:
    AnimationTest() {
        addPicture(226, 320, 240, 0x202020);
        screen = new Screen(frame.get());
        screen->setBackground(226, false);
        frame->setRoot(screen);
        writeText(dir.file("fan.mbm"), mbmBytes(3, 100, 10, 8));
        writeText(dir.file("empty.mbm"), mbmBytes(0, 100, 10, 8));
    }
    Animation* add(const std::string& file, int mode) {
        auto* a = new Animation(screen);
        a->load(file, 87, 114, mode);
        screen->addChild(a);
        frame->invalidateAll();
        frame->processPending();
        return a;
    }
    Screen* screen;
};

TEST_F(AnimationTest, StepsThroughFramesOnItsTimer) {
    Animation* a = add("fan.mbm", kAnimOpaque);
    EXPECT_EQ(a->rect(), (Rect{87, 114, 97, 122}));
    EXPECT_EQ(a->frameCount(), 3);
    EXPECT_EQ(screenPixel(90, 116), toPixel(kRed));
    EXPECT_EQ(screenPixel(87, 114), toPixel(0xFF00FF));  // opaque: the key shows
    a->start();
    a->start();  // already running: one timer
    EXPECT_EQ(frame->timerCount(), 1u);
    advance(100);
    EXPECT_EQ(a->frameIndex(), 1);
    EXPECT_EQ(screenPixel(90, 116), toPixel(0x00FF00));
    advance(200);
    EXPECT_EQ(a->frameIndex(), 0);  // wrapped
    a->stop();
    advance(500);
    EXPECT_EQ(a->frameIndex(), 0);
    EXPECT_EQ(screenPixel(90, 116), toPixel(kRed));  // the last frame stays

    // Off the screen nothing animates.
    a->start();
    screen->hide();
    EXPECT_FALSE(a->running());
    EXPECT_EQ(frame->timerCount(), 0u);
}

TEST_F(AnimationTest, KeyedModesLeaveTheBackgroundAtTheKey) {
    Animation* a = add("fan.mbm", kAnimKeyed);
    EXPECT_EQ(a->keyColor(), Color(0xFF00FF));
    EXPECT_EQ(screenPixel(87, 114), toPixel(0x202020));
    EXPECT_EQ(screenPixel(88, 114), toPixel(kRed));

    // Composed: the parent's background under the widget, then the frame.
    display.pixels()[114 * kScreenWidth + 87] = 0x00123456;  // stale pixel on screen
    a->load("fan.mbm", 87, 114, kAnimComposed);
    a->start();
    advance(100);
    EXPECT_EQ(screenPixel(87, 114), toPixel(0x202020));
    EXPECT_EQ(screenPixel(88, 114), toPixel(0x00FF00));
}

TEST_F(AnimationTest, FilesWithoutFramesNeverDrawOrAnimate) {
    for (const char* name : {"empty.mbm", "missing.mbm"}) {
        Animation* a = add(name, kAnimKeyed);
        EXPECT_EQ(a->frameCount(), 0);
        EXPECT_TRUE(a->rect().empty());
        a->start();
        EXPECT_FALSE(a->running());
        EXPECT_EQ(frame->timerCount(), 0u);
        a->timerTick();
        a->repaint();
    }
}

}  // namespace
}  // namespace vesk::test
