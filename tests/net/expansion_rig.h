// The module's message handler over a protocol rig: known settings, a
// temporary settings folder, recorded burner codes, sounds and refreshes.
#pragma once
#include <optional>

#include "core/sound_player.h"
#include "net/expansion_messages.h"
#include "net/protocol_rig.h"

namespace vesk::test {

struct ExpansionRig {
    explicit ExpansionRig(Variant v = Variant::Orvena) : p(v), messages(services()) {}

    ExpansionServices services() {
        ExpansionServices e{p.services()};
        e.sound = &sound;
        e.adapterUp = [this] { return adapterUp; };
        return e;
    }

    std::optional<Bytes> ask(Bytes message) { return messages.handle(message); }
    // Whether the event sound was asked for since the last call.
    bool activity() {
        bool played = false;
        for (auto e : sound.take())
            played |= e.resource == kModuleEventSound && e.flags == (kSoundAsync | kSoundNoStop);
        return played;
    }

    ProtocolRig p;
    RecordingSoundPlayer sound;
    bool adapterUp = false;
    ExpansionMessages messages;
};

}  // namespace vesk::test
