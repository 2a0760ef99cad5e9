// GF(256) tables built at compile time and the check-codeword division.
#include "net/qr/qr_reed_solomon.h"

#include <array>

namespace vesk::qr {

namespace {

struct Field {
    // exp is doubled so a sum of two logarithms needs no reduction.
    std::array<uint8_t, 510> exp{};
    std::array<uint8_t, 256> log{};
};

constexpr Field makeField() {
    Field f;
    int x = 1;
    for (int i = 0; i < 255; ++i) {
        f.exp[i] = static_cast<uint8_t>(x);
        f.exp[i + 255] = static_cast<uint8_t>(x);
        f.log[x] = static_cast<uint8_t>(i);
        x <<= 1;
        if (x & 0x100) x ^= 0x11D;
    }
    return f;
}

constexpr Field kField = makeField();

}  // namespace

uint8_t gfMultiply(uint8_t a, uint8_t b) {
    if (a == 0 || b == 0) return 0;
    return kField.exp[kField.log[a] + kField.log[b]];
}

ReedSolomon::ReedSolomon(int degree) : degree_(degree), generatorLog_{} {
    // Product of (x - a^i) for i below degree, highest power first with
    // the leading 1 left implicit.
    uint8_t coef[kMaxEccPerBlock] = {};
    coef[degree - 1] = 1;
    uint8_t root = 1;
    for (int i = 0; i < degree; ++i) {
        for (int j = 0; j < degree; ++j) {
            coef[j] = gfMultiply(coef[j], root);
            if (j + 1 < degree) coef[j] ^= coef[j + 1];
        }
        root = gfMultiply(root, 2);
    }
    for (int j = 0; j < degree; ++j) generatorLog_[j] = kField.log[coef[j]];
}

void ReedSolomon::remainder(const uint8_t* data, int length, uint8_t* ecc) const {
    for (int j = 0; j < degree_; ++j) ecc[j] = 0;
    for (int i = 0; i < length; ++i) {
        uint8_t factor = data[i] ^ ecc[0];
        for (int j = 0; j + 1 < degree_; ++j) ecc[j] = ecc[j + 1];
        ecc[degree_ - 1] = 0;
        if (factor == 0) continue;
        int logFactor = kField.log[factor];
        for (int j = 0; j < degree_; ++j) ecc[j] ^= kField.exp[generatorLog_[j] + logFactor];
    }
}

}  // namespace vesk::qr
