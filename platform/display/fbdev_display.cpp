// Framebuffer output through a shadow buffer (the device may be 16 bpp or
// larger than the panel) and evdev touch input, woken through an eventfd.
#include "platform/display/fbdev_display.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fb.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/display/fb_layout.h"
#include "platform/display/touch_decoder.h"

namespace vesk {

namespace {

bool testBit(const unsigned long* bits, int n) {
    constexpr int kLongBits = int(sizeof(unsigned long) * 8);
    return (bits[n / kLongBits] >> (n % kLongBits)) & 1UL;
}

struct TouchDevice {
    int fd = -1;
    TouchAxes axes;
};

// Opens `path` when it is a touch screen the decoder understands.
std::optional<TouchDevice> openTouch(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    constexpr int kLongBits = int(sizeof(unsigned long) * 8);
    unsigned long evBits[(EV_MAX + kLongBits) / kLongBits] = {};
    unsigned long absBits[(ABS_MAX + kLongBits) / kLongBits] = {};
    unsigned long keyBits[(KEY_MAX + kLongBits) / kLongBits] = {};
    input_absinfo ax{}, ay{};
    bool ok = ioctl(fd, EVIOCGBIT(0, sizeof evBits), evBits) >= 0 && testBit(evBits, EV_ABS) &&
              testBit(evBits, EV_KEY) &&
              ioctl(fd, EVIOCGBIT(EV_ABS, sizeof absBits), absBits) >= 0 &&
              testBit(absBits, ABS_X) && testBit(absBits, ABS_Y) &&
              ioctl(fd, EVIOCGBIT(EV_KEY, sizeof keyBits), keyBits) >= 0 &&
              testBit(keyBits, BTN_TOUCH) && ioctl(fd, EVIOCGABS(ABS_X), &ax) >= 0 &&
              ioctl(fd, EVIOCGABS(ABS_Y), &ay) >= 0 && ax.maximum != ax.minimum &&
              ay.maximum != ay.minimum;
    if (!ok) {
        ::close(fd);
        return std::nullopt;
    }
    return TouchDevice{fd, {ax.minimum, ax.maximum, ay.minimum, ay.maximum}};
}

std::optional<TouchDevice> findTouch(const std::string& wanted) {
    if (!wanted.empty()) return openTouch(wanted);
    DIR* dir = opendir("/dev/input");
    if (dir == nullptr) return std::nullopt;
    std::vector<std::string> names;
    while (dirent* e = readdir(dir)) {
        if (std::strncmp(e->d_name, "event", 5) == 0) names.emplace_back(e->d_name);
    }
    closedir(dir);
    // event2 before event10, so the choice is the same on every boot.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    for (const auto& n : names) {
        if (auto t = openTouch("/dev/input/" + n)) return t;
    }
    return std::nullopt;
}

class FbdevDisplay : public Display {
public:
    ~FbdevDisplay() override {
        if (map_ != MAP_FAILED) munmap(map_, mapLength_);
        if (fbFd_ >= 0) ::close(fbFd_);
        if (touch_.fd >= 0) ::close(touch_.fd);
        if (wakeFd_ >= 0) ::close(wakeFd_);
    }

    bool open(const std::string& fbPath, const std::string& touchPath, std::string& why) {
        fbFd_ = ::open(fbPath.c_str(), O_RDWR | O_CLOEXEC);
        if (fbFd_ < 0) return fail(why, fbPath + ": " + std::strerror(errno));
        fb_var_screeninfo var{};
        fb_fix_screeninfo fix{};
        if (ioctl(fbFd_, FBIOGET_VSCREENINFO, &var) < 0 || ioctl(fbFd_, FBIOGET_FSCREENINFO, &fix) < 0)
            return fail(why, fbPath + ": not a framebuffer");
        layout_.width = int(var.xres);
        layout_.height = int(var.yres);
        layout_.bitsPerPixel = int(var.bits_per_pixel);
        layout_.lineLength = int(fix.line_length);
        layout_.red = {int(var.red.offset), int(var.red.length)};
        layout_.green = {int(var.green.offset), int(var.green.length)};
        layout_.blue = {int(var.blue.offset), int(var.blue.length)};
        if (fix.type != FB_TYPE_PACKED_PIXELS || fix.visual != FB_VISUAL_TRUECOLOR || !layout_.supported())
            return fail(why, fbPath + ": unsupported pixel format (" +
                                 std::to_string(var.bits_per_pixel) + " bpp)");
        mapLength_ = fix.smem_len;
        size_t firstByte = size_t(var.yoffset) * fix.line_length + size_t(var.xoffset) * (var.bits_per_pixel / 8);
        if (firstByte + size_t(layout_.height) * layout_.lineLength > mapLength_)
            return fail(why, fbPath + ": framebuffer smaller than its mode");
        map_ = mmap(nullptr, mapLength_, PROT_READ | PROT_WRITE, MAP_SHARED, fbFd_, 0);
        if (map_ == MAP_FAILED) return fail(why, fbPath + ": mmap: " + std::strerror(errno));
        visible_ = static_cast<uint8_t*>(map_) + firstByte;
        wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (wakeFd_ < 0) return fail(why, std::string("eventfd: ") + std::strerror(errno));

        // The console's text around a centred panel would look like garbage.
        for (int y = 0; y < layout_.height; ++y)
            std::memset(visible_ + size_t(y) * layout_.lineLength, 0,
                        size_t(layout_.width) * (layout_.bitsPerPixel / 8));
        pixels_.assign(size_t(kScreenWidth) * kScreenHeight, 0);

        std::string wanted = touchPath;
        if (wanted.empty()) {
            if (const char* env = std::getenv("VESK_TOUCH")) wanted = env;
        }
        if (auto t = findTouch(wanted)) {
            touch_ = *t;
            decoder_.emplace(touch_.axes, layout_.width, layout_.height, layout_.originX(),
                             layout_.originY());
        }
        return true;
    }

    uint32_t* pixels() override { return pixels_.data(); }

    void present(const ScreenRect& changed) override {
        copyToFramebuffer(pixels_.data(), changed, layout_, visible_);
    }

    bool waitEvents(std::vector<PenEvent>& out, int timeoutMs) override {
        pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {touch_.fd, POLLIN, 0}};
        int n = poll(fds, touch_.fd >= 0 ? 2 : 1, timeoutMs < 0 ? -1 : timeoutMs);
        if (n <= 0) return true;
        if (fds[0].revents & POLLIN) {
            uint64_t count;
            [[maybe_unused]] ssize_t r = ::read(wakeFd_, &count, sizeof count);
        }
        if (touch_.fd >= 0 && fds[1].revents != 0) readTouch(out);
        return true;
    }

    void wake() override {
        uint64_t one = 1;
        [[maybe_unused]] ssize_t r = ::write(wakeFd_, &one, sizeof one);
    }

    std::string name() const override { return "fbdev"; }

private:
    bool fail(std::string& why, const std::string& text) {
        why = text;
        return false;
    }

    void readTouch(std::vector<PenEvent>& out) {
        input_event ev[64];
        for (;;) {
            ssize_t got = ::read(touch_.fd, ev, sizeof ev);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 && errno == EAGAIN) break;
            if (got <= 0) {
                // Unplugged: carry on as a display without a pen.
                ::close(touch_.fd);
                touch_.fd = -1;
                return;
            }
            for (size_t i = 0; i < size_t(got) / sizeof(input_event); ++i)
                decoder_->feed(ev[i].type, ev[i].code, ev[i].value, out);
        }
        if (decoder_->needsResync()) resyncTouch(out);
    }

    void resyncTouch(std::vector<PenEvent>& out) {
        constexpr int kLongBits = int(sizeof(unsigned long) * 8);
        unsigned long keys[(KEY_MAX + kLongBits) / kLongBits] = {};
        input_absinfo ax{}, ay{};
        if (ioctl(touch_.fd, EVIOCGKEY(sizeof keys), keys) < 0 ||
            ioctl(touch_.fd, EVIOCGABS(ABS_X), &ax) < 0 || ioctl(touch_.fd, EVIOCGABS(ABS_Y), &ay) < 0)
            return;
        decoder_->resync(testBit(keys, BTN_TOUCH), ax.value, ay.value, out);
    }

    int fbFd_ = -1;
    void* map_ = MAP_FAILED;
    size_t mapLength_ = 0;
    uint8_t* visible_ = nullptr;
    FbLayout layout_;
    int wakeFd_ = -1;
    TouchDevice touch_;
    std::optional<TouchDecoder> decoder_;
    std::vector<uint32_t> pixels_;
};

}  // namespace

std::unique_ptr<Display> openFbdevDisplay(const std::string& fbPath, const std::string& touchPath,
                                          std::string& why) {
    auto d = std::make_unique<FbdevDisplay>();
    if (!d->open(fbPath, touchPath, why)) return nullptr;
    return d;
}

}  // namespace vesk
