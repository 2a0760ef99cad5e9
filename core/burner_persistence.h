// The burner state survives a power cut as one EEPROM byte at offset 0, so
// that a boiler that was burning resumes burning when power returns.
#pragma once
#include <cstdint>

namespace vesk {

class Eeprom;
struct ControllerState;

// The byte written for a burner state: 4 ignition, 2 burning or blow-up,
// 3 pause, 1 anything else.
uint8_t storedBurnerCode(int burnerState);
// The state a stored byte restores: 2 burning, 3 pause, 4 ignition, else stop.
int burnerStateFromCode(uint8_t code);

// Takes up a restored state, under stateLock: it starts as if just entered
// (an ignition with its tries and first feed, burning from its regulator
// floor), since whatever it was doing before the power cut is gone.
void resumeBurnerState(ControllerState& s, int state);

class BurnerPersistence {
public:
    // `eeprom` may be null: persistence is then off.
    explicit BurnerPersistence(Eeprom* eeprom) : eeprom_(eeprom) {}
    // The stored state, or stop when there is none or the read fails.
    int restore();
    bool store(int burnerState);

private:
    Eeprom* eeprom_;
};

}  // namespace vesk
