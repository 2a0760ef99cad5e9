// EEPROM copies of the fuel counters.
#include "control/fuel_accounting_store.h"

#include <algorithm>

#include "platform/eeprom.h"

namespace vesk {

namespace {

template <size_t W>
std::optional<uint32_t> readTriple(Eeprom* e, uint16_t offset) {
    uint8_t buf[3 * W];
    if (e == nullptr || !e->read(offset, buf, sizeof buf)) return std::nullopt;
    uint32_t v[3] = {};
    for (size_t copy = 0; copy < 3; ++copy)
        for (size_t i = 0; i < W; ++i) v[copy] |= static_cast<uint32_t>(buf[copy * W + i]) << (8 * i);
    if (v[0] == v[1] || v[0] == v[2]) return v[0];
    if (v[1] == v[2]) return v[1];
    return std::nullopt;
}

template <size_t W>
bool writeTriple(Eeprom* e, uint16_t offset, uint32_t v) {
    uint8_t buf[3 * W];
    for (size_t copy = 0; copy < 3; ++copy)
        for (size_t i = 0; i < W; ++i) buf[copy * W + i] = static_cast<uint8_t>(v >> (8 * i));
    return writeInPages(e, offset, buf, sizeof buf);
}

}  // namespace

bool writeInPages(Eeprom* e, uint16_t offset, const uint8_t* buf, size_t n) {
    if (e == nullptr) return false;
    bool ok = true;
    size_t done = 0;
    while (done < n) {
        const size_t at = offset + done;
        const size_t chunk = std::min(n - done, fuel_layout::kPage - at % fuel_layout::kPage);
        ok = e->write(static_cast<uint16_t>(at), buf + done, chunk) && ok;
        done += chunk;
    }
    return ok;
}

std::optional<uint8_t> readTriple8(Eeprom* e, uint16_t offset) {
    std::optional<uint32_t> v = readTriple<1>(e, offset);
    if (!v) return std::nullopt;
    return static_cast<uint8_t>(*v);
}

std::optional<uint32_t> readTriple32(Eeprom* e, uint16_t offset) { return readTriple<4>(e, offset); }

bool writeTriple8(Eeprom* e, uint16_t offset, uint8_t v) { return writeTriple<1>(e, offset, v); }

bool writeTriple32(Eeprom* e, uint16_t offset, uint32_t v) { return writeTriple<4>(e, offset, v); }

}  // namespace vesk
