// Fuel accounting on manual time with an EEPROM that records every transfer.
#pragma once
#include <utility>
#include <vector>

#include "control/fuel_accounting.h"
#include "control/fuel_accounting_store.h"
#include "core/controller_state.h"
#include "platform/eeprom.h"
#include "platform/manual_clock.h"
#include "platform/manual_timer_service.h"
#include "settings/service_table.h"
#include "settings/user_table.h"

namespace vesk::test {

constexpr int kRate = 1563;

// Passes everything to a memory image and keeps (offset, length) of each
// write.
class RecordingEeprom : public Eeprom {
public:
    explicit RecordingEeprom(MemoryEeprom& m) : m_(m) {}
    bool read(uint16_t offset, uint8_t* buf, size_t n) override { return m_.read(offset, buf, n); }
    bool write(uint16_t offset, const uint8_t* buf, size_t n) override {
        writes.emplace_back(offset, n);
        return m_.write(offset, buf, n);
    }
    // Writes that touch [from, from + n).
    int writesTo(uint16_t from, size_t n) const {
        int count = 0;
        for (const auto& [at, len] : writes)
            if (at < from + n && from < at + len) ++count;
        return count;
    }
    std::vector<std::pair<uint16_t, size_t>> writes;

private:
    MemoryEeprom& m_;
};

struct FuelRig {
    // `image` stands for the chip across power cuts; a rig of its own
    // when none is given.
    explicit FuelRig(MemoryEeprom* image = nullptr) : memory(image ? *image : ownImage), eeprom(memory) {
        serviceDefaults(s.settings, Variant::Orvena, true);
        userDefaults(s.settings, Variant::Orvena, false, 0);
        s.usr.FUEL = 1;
        s.svc.feedRate[1] = kRate;
        s.usr.BUNK_SIZE = 400;
    }
    void load() { fuel.load(&eeprom); }
    // `n` quarter hours of panel time.
    void quarters(int n) { clock.advance(n * FuelAccounting::kQuarterHourMs); }
    uint32_t stored32(uint16_t at) { return *readTriple32(&memory, at); }
    uint8_t stored8(uint16_t at) { return *readTriple8(&memory, at); }
    void bunkerFull(bool full) {
        s.usr.USE_FULL_SENS = 1;
        s.boardInputs = full ? kInBunkerFull : 0;
    }

    MemoryEeprom ownImage;
    MemoryEeprom& memory;
    RecordingEeprom eeprom;
    ControllerState s{Variant::Orvena};
    ManualClock clock;
    ManualTimerService timers{clock};
    FuelAccounting fuel{s, clock, timers};
};

}  // namespace vesk::test
