// Stand-in for the power board: turns command payloads into plant outputs
// and the plant's sensors into the readings payload of one firmware version.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/variant.h"
#include "sim/plant.h"

namespace vesk {

// One decoded command payload.
struct BoardCommand {
    size_t layout = 0;  // payload length: 22, 8 or 7
    PlantOutputs outputs;
    uint16_t bits = 0;  // the output bit word as sent
    int augerByte = -1; // byte 0 of the 22-byte layout: 10 run, 5 stop, 12 explicit stop
    int wormSpeed = -1;
    int forwardTime = -1;
    int reverseTime = -1;
    int pauseTime = -1;
    int overcurrent = -1;
    int overcurrentTimeout = -1;
    std::vector<uint8_t> raw;

    // Decoded fields followed by the raw bytes in hex.
    std::string describe() const;
};

class BoardEmulator {
public:
    BoardEmulator(PlantModel& plant, uint16_t firmwareVersion, Variant variant);

    static bool knownFirmware(uint16_t fw);
    // Command payload length the firmware expects: 22, 8 or 7.
    static size_t commandLength(uint16_t fw);
    // Length of the readings payload it sends (without the check byte).
    static size_t readingsLength(uint16_t fw);
    // Decodes a payload in the layout of `fw`; none when the length is wrong.
    static std::optional<BoardCommand> decodeCommand(uint16_t fw, const std::vector<uint8_t>& payload);

    // Applies a command payload; a payload of the wrong length is ignored
    // (returns false) and does not count as a sign of life.
    bool applyCommand(const std::vector<uint8_t>& payload);
    std::vector<uint8_t> readingsPayload() const;
    // The inputs byte with this variant's bit meanings.
    uint8_t boardInputs() const;

    // Advances the silence watch and the plant by `dt` simulated seconds.
    void step(double dt, double timeOfDayHours);

    // With no valid command for this long the board stops auger, fans and
    // igniter by itself.
    void setSilenceSeconds(double s) { silenceLimit_ = s; }
    double silenceSeconds() const { return silenceLimit_; }
    bool safeState() const { return safe_; }
    int safeStateEntries() const { return safeEntries_; }

    const std::optional<BoardCommand>& lastCommand() const { return last_; }
    std::string describeLastCommand() const;
    uint64_t commandsApplied() const { return applied_; }
    uint64_t commandsIgnored() const { return ignored_; }

    uint16_t firmware() const { return fw_; }
    Variant variant() const { return variant_; }
    PlantModel& plant() { return plant_; }
    const PlantModel& plant() const { return plant_; }

private:
    void enterSafeState();
    int16_t encode(SensorChannel ch) const;

    PlantModel& plant_;
    uint16_t fw_;
    Variant variant_;
    double silenceLimit_ = 5;
    double silence_ = 0;
    bool safe_ = false;
    int safeEntries_ = 0;
    std::optional<BoardCommand> last_;
    uint64_t applied_ = 0;
    uint64_t ignored_ = 0;
};

// "%u.%u.%u.%u" of the four nibbles.
std::string firmwareText(uint16_t fw);

}  // namespace vesk
