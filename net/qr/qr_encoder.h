// QR code (Model 2) encoder of the pairing screen: error-correction level Q,
// the smallest version from 1 to 26 that holds the text.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vesk {

constexpr int kQrMaxVersion = 26;
constexpr int kQrMaxModulesPerSide = 17 + 4 * kQrMaxVersion;
constexpr size_t kQrMatrixBytes = (kQrMaxModulesPerSide * kQrMaxModulesPerSide + 7) / 8;

enum class QrStatus {
    Ok,
    DataTooLong,    // expected: the text does not fit version 26 at level Q
    BadArgument,    // caller mistake: missing or short buffer, text pointer missing
    InternalError,  // a broken invariant of the encoder; no symbol is given
};

// Encodes the bytes of `text` (empty is allowed). The matrix is one bit per
// module, dark = 1, column by column: module (x, y) is bit x * side + y,
// counted from the least significant bit of byte 0; unused bits are 0.
// `matrixBytes` must be at least kQrMatrixBytes. On any failure
// *modulesPerSide is 0 and the matrix is all light.
QrStatus encodeQr(std::string_view text, uint8_t* matrix, size_t matrixBytes, int* modulesPerSide);

// The same symbol held by value, with a module accessor.
class QrSymbol {
public:
    int side() const { return side_; }  // 0 when nothing was encoded
    int version() const { return side_ == 0 ? 0 : (side_ - 17) / 4; }
    // Outside the symbol every module is light.
    bool isDark(int x, int y) const {
        if (x < 0 || y < 0 || x >= side_ || y >= side_) return false;
        size_t i = static_cast<size_t>(x) * static_cast<size_t>(side_) + static_cast<size_t>(y);
        return (bits_[i >> 3] >> (i & 7)) & 1;
    }
    const std::array<uint8_t, kQrMatrixBytes>& bits() const { return bits_; }

private:
    friend QrStatus encodeQr(std::string_view text, QrSymbol& out);
    int side_ = 0;
    std::array<uint8_t, kQrMatrixBytes> bits_{};
};

QrStatus encodeQr(std::string_view text, QrSymbol& out);

}  // namespace vesk
