// SDL window backend: a streaming texture mirrors the framebuffer; the
// renderer's logical size keeps pen coordinates in panel pixels whatever
// the window scale.
#include "platform/display/sdl_display.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace vesk {

namespace {

int scaleFromEnvironment() {
    const char* s = std::getenv("VESK_SDL_SCALE");
    if (s == nullptr || *s == '\0') return 2;
    int v = std::atoi(s);
    return std::clamp(v, 1, 8);
}

class SdlDisplay : public Display {
public:
    ~SdlDisplay() override {
        if (texture_ != nullptr) SDL_DestroyTexture(texture_);
        if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
        if (window_ != nullptr) SDL_DestroyWindow(window_);
        if (initialised_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool open(int scale, std::string& why) {
        // Our own signal handling stays in force: SDL would turn SIGTERM
        // into a quit event that only the window loop ever sees.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        // A touch on an unfocused window is a touch all the same.
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return fail(why);
        initialised_ = true;
        window_ = SDL_CreateWindow("VeskAppWindow", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   kScreenWidth * scale, kScreenHeight * scale,
                                   SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
        if (window_ == nullptr) return fail(why);
        renderer_ = SDL_CreateRenderer(window_, -1, 0);
        if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        if (renderer_ == nullptr) return fail(why);
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        if (SDL_RenderSetLogicalSize(renderer_, kScreenWidth, kScreenHeight) != 0) return fail(why);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                                     kScreenWidth, kScreenHeight);
        if (texture_ == nullptr) return fail(why);
        Uint32 type = SDL_RegisterEvents(1);
        wakeType_ = type == Uint32(-1) ? Uint32(SDL_USEREVENT) : type;
        pixels_.assign(size_t(kScreenWidth) * kScreenHeight, 0);
        present({0, 0, kScreenWidth, kScreenHeight});
        return true;
    }

    uint32_t* pixels() override { return pixels_.data(); }

    void present(const ScreenRect& changed) override {
        int left = std::max(changed.left, 0);
        int top = std::max(changed.top, 0);
        int right = std::min(changed.right, kScreenWidth);
        int bottom = std::min(changed.bottom, kScreenHeight);
        if (right <= left || bottom <= top) return;
        SDL_Rect r{left, top, right - left, bottom - top};
        SDL_UpdateTexture(texture_, &r, pixels_.data() + size_t(top) * kScreenWidth + left,
                          kScreenWidth * 4);
        render();
    }

    bool waitEvents(std::vector<PenEvent>& out, int timeoutMs) override {
        SDL_Event e;
        int got = timeoutMs < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, timeoutMs);
        while (got != 0) {
            handle(e, out);
            got = SDL_PollEvent(&e);
        }
        return !closed_;
    }

    void wake() override {
        // One pending wake is enough; a flood would fill SDL's queue.
        if (wakePending_.exchange(true)) return;
        SDL_Event e{};
        e.type = wakeType_;
        if (SDL_PushEvent(&e) != 1) wakePending_ = false;
    }

    std::string name() const override { return "sdl"; }

private:
    bool fail(std::string& why) {
        why = SDL_GetError();
        return false;
    }

    void render() {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_RenderPresent(renderer_);
    }

    static int clampX(int x) { return std::clamp(x, 0, kScreenWidth - 1); }
    static int clampY(int y) { return std::clamp(y, 0, kScreenHeight - 1); }

    void handle(const SDL_Event& e, std::vector<PenEvent>& out) {
        if (e.type == wakeType_) {
            wakePending_ = false;
            return;
        }
        switch (e.type) {
        case SDL_QUIT:
            closed_ = true;
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) closed_ = true;
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                render();
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button != SDL_BUTTON_LEFT || penDown_) break;
            penDown_ = true;
            lastX_ = clampX(e.button.x);
            lastY_ = clampY(e.button.y);
            out.push_back({PenEvent::Kind::Down, lastX_, lastY_});
            break;
        case SDL_MOUSEMOTION: {
            if (!penDown_) break;
            int x = clampX(e.motion.x), y = clampY(e.motion.y);
            if (x == lastX_ && y == lastY_) break;  // sub-pixel motion at scale > 1
            lastX_ = x;
            lastY_ = y;
            out.push_back({PenEvent::Kind::Move, x, y});
            break;
        }
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT || !penDown_) break;
            penDown_ = false;
            out.push_back({PenEvent::Kind::Up, clampX(e.button.x), clampY(e.button.y)});
            break;
        default:
            break;
        }
    }

    bool initialised_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    Uint32 wakeType_ = SDL_USEREVENT;
    std::atomic<bool> wakePending_{false};
    std::vector<uint32_t> pixels_;
    bool closed_ = false;
    bool penDown_ = false;
    int lastX_ = 0, lastY_ = 0;
};

}  // namespace

std::unique_ptr<Display> openSdlDisplay(std::string& why, int scale) {
    auto d = std::make_unique<SdlDisplay>();
    if (!d->open(scale >= 1 ? scale : scaleFromEnvironment(), why)) return nullptr;
    return d;
}

}  // namespace vesk
