// Reads a symbol back without any error correction, so a single wrong
// module shows: unmasking, zigzag order, block de-interleaving, check
// codewords by their syndromes, and the data bit stream.
#pragma once
#include <string>

#include "net/qr/qr_encoder.h"

namespace vesk::test {

struct QrReading {
    bool ok = false;
    std::string error;  // what was wrong when not ok
    std::string text;
    int mask = -1;
    int segments = 0;
};

QrReading readQr(const QrSymbol& symbol);

}  // namespace vesk::test
