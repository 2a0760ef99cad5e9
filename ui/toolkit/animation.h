// Frames of an .mbm file shown in turn on the widget's timer. Mode 0 draws
// opaque, 1 keyed over the screen, 2 keyed over the parent's background
// composed off-screen. A file without frames never draws or animates.
#pragma once
#include <memory>
#include <string>

#include "ui/toolkit/control.h"
#include "ui/toolkit/mbm.h"

namespace vesk {

enum AnimationMode : int { kAnimOpaque = 0, kAnimKeyed = 1, kAnimComposed = 2 };

class Animation : public Control {
public:
    explicit Animation(Widget* parent) : Control(parent) {}

    // Sized by the largest frame, placed at (x, y).
    void load(const std::string& fileName, int x, int y, int mode);

    int frameCount() const { return data_ ? static_cast<int>(data_->frames.size()) : 0; }
    int periodMs() const { return data_ ? data_->periodMs : 0; }
    int frameIndex() const { return index_; }
    Color keyColor() const { return data_ ? data_->key : 0; }
    int mode() const { return mode_; }

    // The timer with the file's period; start only when stopped and only
    // with frames, stop only when running.
    void start();
    void stop();
    bool running() const { return running_; }

    void paint(Painter& p) override;
    void timerTick() override;
    // Off screen, nothing animates.
    void hide() override;

private:
    const Bitmap* currentFrame() const;
    void paintComposed();

    std::shared_ptr<const MbmAnimation> data_;
    int index_ = 0;
    int mode_ = kAnimOpaque;
    bool running_ = false;
};

}  // namespace vesk
