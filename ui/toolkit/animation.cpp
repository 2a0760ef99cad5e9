// Animation stepping and the three drawing modes.
#include "ui/toolkit/animation.h"

#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {

void Animation::load(const std::string& fileName, int x, int y, int mode) {
    stop();
    data_ = frame_->resources().animation(fileName);
    mode_ = mode;
    index_ = 0;
    rect_ = Rect::ofSize(x, y, data_->width, data_->height);
}

const Bitmap* Animation::currentFrame() const {
    if (frameCount() == 0) return nullptr;
    const auto& set = mode_ == kAnimOpaque ? data_->frames : data_->keyedFrames;
    return &set[static_cast<size_t>(index_)];
}

void Animation::start() {
    if (running_ || frameCount() == 0) return;
    frame_->startTimer(this, periodMs());
    running_ = true;
}

void Animation::stop() {
    if (!running_) return;
    frame_->stopTimer(this);
    running_ = false;
}

void Animation::hide() {
    Control::hide();
    stop();
}

void Animation::paint(Painter& p) {
    if (const Bitmap* f = currentFrame()) p.drawBitmap(*f, rect_.left, rect_.top);
}

void Animation::paintComposed() {
    const Bitmap* f = currentFrame();
    if (!f || !parent_) return;
    Bitmap buffer = Bitmap::create(rect_.width(), rect_.height());
    if (buffer.empty()) return;
    {
        Painter q(buffer);
        q.translate(-rect_.left, -rect_.top);
        parent_->paintBackgroundPart(q, rect_);
        q.drawBitmap(*f, rect_.left, rect_.top);
    }
    Painter p = parent_->beginChildDrawing();
    p.drawBitmap(buffer, rect_.left, rect_.top);
    parent_->endChildDrawing(p);
}

void Animation::timerTick() {
    if (frameCount() == 0) return;
    index_ = (index_ + 1) % frameCount();
    if (mode_ == kAnimComposed)
        paintComposed();
    else
        repaint();
}

}  // namespace vesk
