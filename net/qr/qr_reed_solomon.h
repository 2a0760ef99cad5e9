// Reed-Solomon error correction over GF(256) with the QR field polynomial 0x11D.
#pragma once
#include <cstdint>

namespace vesk::qr {

constexpr int kMaxEccPerBlock = 30;

// The generator polynomial of one degree, prepared once per symbol since
// every block of a symbol uses the same degree.
class ReedSolomon {
public:
    // degree in 1..kMaxEccPerBlock.
    explicit ReedSolomon(int degree);
    int degree() const { return degree_; }
    // Writes degree() check codewords for `data` (any length) to `ecc`.
    void remainder(const uint8_t* data, int length, uint8_t* ecc) const;

private:
    int degree_;
    // Coefficients below the leading 1, highest power first, as logarithms.
    uint8_t generatorLog_[kMaxEccPerBlock];
};

// Field product, exposed for the tests of the tables.
uint8_t gfMultiply(uint8_t a, uint8_t b);

}  // namespace vesk::qr
