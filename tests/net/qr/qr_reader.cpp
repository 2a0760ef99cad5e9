// Strict symbol reader of the tests.
#include "net/qr/qr_reader.h"

#include <vector>

#include "net/qr/qr_mask.h"
#include "net/qr/qr_matrix.h"
#include "net/qr/qr_reed_solomon.h"
#include "net/qr/qr_segments.h"
#include "net/qr/qr_tables.h"

namespace vesk::test {

namespace {

QrReading fail(std::string why) {
    QrReading r;
    r.error = std::move(why);
    return r;
}

// Reads `count` bits as a number, most significant first.
struct BitReader {
    const std::vector<uint8_t>& bytes;
    size_t pos = 0;
    size_t left() const { return bytes.size() * 8 - pos; }
    uint32_t take(int count) {
        uint32_t v = 0;
        for (int i = 0; i < count; ++i, ++pos) v = v << 1 | ((bytes[pos / 8] >> (7 - pos % 8)) & 1);
        return v;
    }
};

}  // namespace

QrReading readQr(const QrSymbol& symbol) {
    const int n = symbol.side();
    const int version = symbol.version();
    if (version < 1 || version > qr::kMaxVersion || n != 17 + 4 * version) return fail("bad side");

    // Format information from the copy around the top-left finder.
    uint32_t format = 0;
    for (int i = 0; i <= 5; ++i) format |= uint32_t(symbol.isDark(8, i)) << i;
    format |= uint32_t(symbol.isDark(8, 7)) << 6;
    format |= uint32_t(symbol.isDark(8, 8)) << 7;
    format |= uint32_t(symbol.isDark(7, 8)) << 8;
    for (int i = 9; i < 15; ++i) format |= uint32_t(symbol.isDark(14 - i, 8)) << i;
    const int mask = static_cast<int>(((format ^ 0x5412) >> 10) & 7);
    if (((format ^ 0x5412) >> 13) != 0x3) return fail("not level Q");
    if (format != qr::formatBits(mask)) return fail("format check bits");

    // Data modules upwards and downwards in column pairs from the right.
    const qr::Matrix layout(version);
    std::vector<bool> bits;
    int pairIndex = 0;
    for (int right = n - 1; right > 0; right -= 2, ++pairIndex) {
        if (right == 6) right = 5;  // the vertical timing column belongs to no pair
        const bool up = pairIndex % 2 == 0;
        for (int k = 0; k < n; ++k) {
            const int y = up ? n - 1 - k : k;
            for (int x : {right, right - 1})
                if (!layout.isFunction(x, y)) bits.push_back(symbol.isDark(x, y) != qr::maskInverts(mask, x, y));
        }
    }
    const qr::BlockLayout bl = qr::blockLayout(version);
    std::vector<uint8_t> stream(static_cast<size_t>(bl.totalCodewords), 0);
    for (int i = 0; i < bl.totalCodewords * 8; ++i)
        if (bits[static_cast<size_t>(i)]) stream[static_cast<size_t>(i / 8)] |= uint8_t(0x80 >> (i % 8));
    for (size_t i = static_cast<size_t>(bl.totalCodewords) * 8; i < bits.size(); ++i)
        if (bits[i]) return fail("remainder bit set");

    // Hand the stream out to the blocks: data a codeword to each block in
    // turn while it still takes data, then the check codewords likewise.
    const int longBlocks = bl.totalCodewords % bl.blocks;
    const int shortData = bl.totalCodewords / bl.blocks - bl.eccPerBlock;
    std::vector<std::vector<uint8_t>> blocks(static_cast<size_t>(bl.blocks));
    size_t at = 0;
    for (int i = 0; i <= shortData; ++i)
        for (int b = 0; b < bl.blocks; ++b)
            if (i < shortData || b >= bl.blocks - longBlocks) blocks[static_cast<size_t>(b)].push_back(stream[at++]);
    std::vector<uint8_t> data;
    for (const auto& blk : blocks) data.insert(data.end(), blk.begin(), blk.end());
    for (int i = 0; i < bl.eccPerBlock; ++i)
        for (auto& blk : blocks) blk.push_back(stream[at++]);

    // A codeword of the code has the generator's roots as roots: every
    // syndrome is zero.
    for (const auto& blk : blocks) {
        uint8_t root = 1;
        for (int j = 0; j < bl.eccPerBlock; ++j) {
            uint8_t s = 0;
            for (uint8_t c : blk) s = static_cast<uint8_t>(qr::gfMultiply(s, root) ^ c);
            if (s != 0) return fail("syndrome " + std::to_string(j) + " not zero");
            root = qr::gfMultiply(root, 2);
        }
    }

    QrReading r;
    r.mask = mask;
    BitReader in{data};
    static const std::string kAlnum = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
    while (in.left() >= 4) {
        const uint32_t indicator = in.take(4);
        if (indicator == 0) break;
        qr::Mode mode;
        if (indicator == 1) mode = qr::Mode::Numeric;
        else if (indicator == 2) mode = qr::Mode::Alphanumeric;
        else if (indicator == 4) mode = qr::Mode::Byte;
        else return fail("mode indicator " + std::to_string(indicator));
        ++r.segments;
        uint32_t count = in.take(qr::countBits(mode, version));
        for (; count > 0;) {
            if (mode == qr::Mode::Numeric) {
                int k = count >= 3 ? 3 : static_cast<int>(count);
                uint32_t v = in.take(k == 3 ? 10 : k == 2 ? 7 : 4);
                std::string digits = std::to_string(v);
                if (v >= (k == 3 ? 1000u : k == 2 ? 100u : 10u)) return fail("numeric group");
                r.text += std::string(static_cast<size_t>(k) - digits.size(), '0') + digits;
                count -= static_cast<uint32_t>(k);
            } else if (mode == qr::Mode::Alphanumeric) {
                if (count >= 2) {
                    uint32_t v = in.take(11);
                    if (v >= 45 * 45) return fail("alphanumeric pair");
                    r.text += kAlnum[v / 45];
                    r.text += kAlnum[v % 45];
                    count -= 2;
                } else {
                    uint32_t v = in.take(6);
                    if (v >= 45) return fail("alphanumeric character");
                    r.text += kAlnum[v];
                    count -= 1;
                }
            } else {
                r.text += static_cast<char>(in.take(8));
                count -= 1;
            }
        }
    }
    // After the terminator: zero bits to the byte boundary, then the pads.
    while (in.pos % 8 != 0)
        if (in.take(1) != 0) return fail("padding bit set");
    for (int i = 0; in.left() >= 8; ++i)
        if (in.take(8) != (i % 2 == 0 ? 0xECu : 0x11u)) return fail("pad codeword");
    r.ok = true;
    return r;
}

}  // namespace vesk::test
