#include "core/burner_persistence.h"

#include "core/controller_state.h"
#include "platform/eeprom.h"

namespace vesk {

namespace {
constexpr uint16_t kBurnerStateOffset = 0;
}

uint8_t storedBurnerCode(int burnerState) {
    switch (burnerState) {
    case kIgnition: return 4;
    case kBurning:
    case kBlowup: return 2;
    case kPause: return 3;
    default: return 1;
    }
}

int burnerStateFromCode(uint8_t code) {
    switch (code) {
    case 2: return kBurning;
    case 3: return kPause;
    case 4: return kIgnition;
    default: return kStop;
    }
}

void resumeBurnerState(ControllerState& s, int state) {
    s.burnerState = state;
    s.lastPersistedState = state;
    s.controlFlags |= kFlagStateEntry;
}

int BurnerPersistence::restore() {
    if (!eeprom_) return kStop;
    uint8_t code = 0;
    if (!eeprom_->read(kBurnerStateOffset, &code, 1)) return kStop;
    return burnerStateFromCode(code);
}

bool BurnerPersistence::store(int burnerState) {
    if (!eeprom_) return false;
    uint8_t code = storedBurnerCode(burnerState);
    return eeprom_->write(kBurnerStateOffset, &code, 1);
}

}  // namespace vesk
