// Text control interface of the simulator: one command line in, one reply
// line out ("ok ..." or "error ..."), shared by stdin and the control socket.
#pragma once
#include <string>
#include <string_view>

#include "sim/board_emulator.h"

namespace vesk {

struct ConsoleReply {
    std::string text;  // without the line end
    bool quit = false;
};

class SimConsole {
public:
    explicit SimConsole(BoardEmulator& board) : board_(board) {}
    ConsoleReply execute(std::string_view line);
    static const char* helpText();

private:
    BoardEmulator& board_;
};

}  // namespace vesk
