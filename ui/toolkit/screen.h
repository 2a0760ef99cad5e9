// A root widget of 320 x 240 that owns (and deletes) its children.
#pragma once
#include "platform/display/display.h"
#include "ui/toolkit/widget.h"

namespace vesk {

class Screen : public Widget {
public:
    explicit Screen(AppFrame* frame, int x = 0, int y = 0, int width = kScreenWidth, int height = kScreenHeight);
    ~Screen() override;
};

}  // namespace vesk
