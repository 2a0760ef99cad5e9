// Building the pairing text from the service and user settings.
#include "net/qr/qr_text.h"

#include <algorithm>

#include "settings/params.h"

namespace vesk {

namespace {

constexpr int kPaddedDigits = 6;

bool isOrvenaType(int32_t boilerType) { return boilerType == 2 || boilerType == 3; }

}  // namespace

void QrText::append(std::string_view s) {
    size_t room = kCapacity - 1 - length_;
    size_t n = std::min(room, s.size());
    std::copy_n(s.data(), n, bytes_.data() + length_);
    length_ += n;
    if (n < s.size()) truncated_ = true;
}

void QrText::appendPadded(int64_t value, int width) {
    char digits[24];
    int count = 0;
    // Through the magnitude as unsigned so the most negative value is safe.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) append("-");
    for (int i = count; i < width; ++i) append("0");
    std::reverse(digits, digits + count);
    append({digits, static_cast<size_t>(count)});
}

std::string_view qrModelName(int32_t boilerType) {
    switch (boilerType) {
    case 0:
    case 1:
    case 4: return "Kestralo";
    case 2:
    case 3: return "Orvena";
    default: return "UNKNOWN";
    }
}

QrText buildQrText(int32_t boilerType, int32_t power, int32_t serial, int32_t lanPwd) {
    QrText t;
    t.append("Vesk ");
    t.append(qrModelName(boilerType));
    t.append("\nP:");
    t.appendNumber(power);
    t.append(" kW\nID:00");
    t.appendNumber(isOrvenaType(boilerType) ? 6 : 3);
    t.append("-");
    t.appendPadded(serial, kPaddedDigits);
    t.append("\nNETPASS:");
    t.appendPadded(lanPwd, kPaddedDigits);
    t.append("\n");
    return t;
}

QrText buildQrText(const ServiceParams& service, const UserParams& user) {
    return buildQrText(service.BOILER_TYPE, service.POWER, service.SERIAL, user.LAN_PWD);
}

}  // namespace vesk
