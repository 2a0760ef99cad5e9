// Network status texts with the Russian plural endings of the count.
#include "net/status_text.h"

#include <cctype>

namespace vesk {

std::string connectionCountText(unsigned count) {
    if (count == 0) return "НЕТ ПОДКЛЮЧЕНИЙ";
    const unsigned lastTwo = count % 100;
    const unsigned last = count % 10;
    const char* ending = "Й";
    if (last == 1 && !(lastTwo >= 11 && lastTwo <= 20))
        ending = "Е";
    else if (last >= 2 && last <= 4 && !(lastTwo >= 10 && lastTwo <= 20))
        ending = "Я";
    return std::to_string(count) + " ПОДКЛЮЧЕНИ" + ending;
}

std::string networkStatusText(const LinkView& v, std::string_view remoteHost) {
    if (!v.linkUp) return "НЕТ ПОДКЛЮЧЕНИЯ К СЕТИ";
    if (v.address == 0) return "ПОЛУЧЕНИЕ IP АДРЕСА...";
    std::string t = "IP АДДРЕС: ";
    for (int shift = 24; shift >= 0; shift -= 8) {
        t += std::to_string((v.address >> shift) & 0xFF);
        t += shift ? "." : "\n";
    }
    t += "ЛОКАЛЬНАЯ СЕТЬ: ";
    t += connectionCountText(v.localConnections);
    t += "\nИНТЕРНЕТ: ";
    if (v.internetUp) {
        t += "ПОДКЛЮЧЕН К ";
        for (char c : remoteHost) t += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    } else {
        t += "НЕТ ПОДКЛЮЧЕНИЯ";
    }
    return t;
}

}  // namespace vesk
