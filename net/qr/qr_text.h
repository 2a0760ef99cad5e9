// The text the pairing QR code carries: model, power, identifier and
// network password, one line each.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vesk {

struct ServiceParams;
struct UserParams;

// A zero-filled buffer of fixed size that text is appended to. What does
// not fit (one byte stays zero as terminator) is cut off and `truncated`
// is set; the buffer is never written past its end.
class QrText {
public:
    static constexpr size_t kCapacity = 100;

    void append(std::string_view s);
    // Decimal, left-padded with '0' to `width` digits; longer values whole,
    // the sign of a negative value before its zeros.
    void appendPadded(int64_t value, int width);
    void appendNumber(int64_t value) { appendPadded(value, 1); }

    std::string_view view() const { return {bytes_.data(), length_}; }
    const std::array<char, kCapacity>& bytes() const { return bytes_; }
    bool truncated() const { return truncated_; }

private:
    std::array<char, kCapacity> bytes_{};
    size_t length_ = 0;
    bool truncated_ = false;
};

// Model line by boiler type: "Kestralo" for 0, 1 and 4, "Orvena" for 2 and
// 3, "UNKNOWN" for any other value.
std::string_view qrModelName(int32_t boilerType);

QrText buildQrText(int32_t boilerType, int32_t power, int32_t serial, int32_t lanPwd);
QrText buildQrText(const ServiceParams& service, const UserParams& user);

}  // namespace vesk
