// File-backed EEPROM image.
#include "platform/file_eeprom.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <sys/stat.h>

#include "platform/atomic_file.h"

namespace vesk {

namespace {
bool inRange(size_t size, uint16_t offset, size_t n) {
    return offset <= size && n <= size - offset;
}

std::string_view bytes(const std::vector<uint8_t>& v) {
    return {reinterpret_cast<const char*>(v.data()), v.size()};
}
}  // namespace

std::unique_ptr<FileEeprom> FileEeprom::open(const std::string& path) {
    struct stat st{};
    std::vector<uint8_t> image(kSize, 0xFF);
    if (::stat(path.c_str(), &st) == 0) {
        std::string text;
        if (!S_ISREG(st.st_mode) || !readWholeFile(path, text)) return nullptr;
        // A short image reads as erased beyond its end; a longer one keeps
        // its tail so that nothing stored is ever lost.
        if (text.size() > image.size()) image.resize(text.size());
        std::memcpy(image.data(), text.data(), text.size());
    } else if (!writeFileAtomically(path, bytes(image))) {
        return nullptr;
    }
    return std::unique_ptr<FileEeprom>(new FileEeprom(path, std::move(image)));
}

FileEeprom::FileEeprom(std::string path, std::vector<uint8_t> image)
    : path_(std::move(path)), image_(std::move(image)) {}

bool FileEeprom::read(uint16_t offset, uint8_t* buf, size_t n) {
    std::lock_guard<std::mutex> g(m_);
    if (!inRange(image_.size(), offset, n)) return false;
    if (n != 0) std::memcpy(buf, image_.data() + offset, n);
    return true;
}

bool FileEeprom::write(uint16_t offset, const uint8_t* buf, size_t n) {
    std::lock_guard<std::mutex> g(m_);
    if (!inRange(image_.size(), offset, n)) return false;
    if (n == 0) return true;
    std::vector<uint8_t> next = image_;
    std::memcpy(next.data() + offset, buf, n);
    if (!writeFileAtomically(path_, bytes(next))) return false;
    image_ = std::move(next);
    return true;
}

}  // namespace vesk
