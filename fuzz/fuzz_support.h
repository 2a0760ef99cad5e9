// What the fuzz targets share: a controller state with a product's
// defaults, command services that write no files, and a way to pick a
// variant from the input.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/controller_state.h"
#include "net/dispatcher.h"
#include "platform/manual_clock.h"
#include "settings/coalesced_saves.h"
#include "settings/param_table.h"
#include "settings/schedule.h"

namespace vesk::fuzz {

inline Variant variantOf(uint8_t b) { return b & 1 ? Variant::Kestralo : Variant::Orvena; }

// Saves are asked for and dropped: the targets look at decoding, not disks.
class NoSaves : public SaveRequests {
public:
    void requestSave(SavedFile) override {}
};

struct Panel {
    explicit Panel(Variant v) : state(v) {
        serviceDefaults(state.settings, v, true);
        userDefaults(state.settings, v, false, 1);
        state.svc.SERIAL = 123456;
        state.usr.LAN_PWD = 4321;
    }
    DispatcherServices services() {
        DispatcherServices d{state, schedule, clock, ""};
        d.commandBurner = [](int) { return 1; };
        d.saves = &saves;
        return d;
    }

    ControllerState state;
    ScheduleStore schedule;
    ManualClock clock;
    NoSaves saves;
};

}  // namespace vesk::fuzz
