// Scrambled SD copies of service.cfg and user.cfg.
#include "settings/sd_transfer.h"


#include "platform/atomic_file.h"
#include "platform/files.h"
#include "settings/settings_file.h"

namespace vesk {
namespace {

std::string join(const std::string& dir, const char* name) {
    if (dir.empty() || dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

}  // namespace

KeyStream::KeyStream(uint32_t multiplier, uint32_t increment, uint32_t modulus, uint32_t seed)
    : multiplier_(multiplier), increment_(increment), modulus_(modulus == 0 ? 1 : modulus), state_(seed) {}

uint8_t KeyStream::next() {
    state_ = static_cast<uint32_t>((uint64_t{state_} * multiplier_ + increment_) % modulus_);
    return static_cast<uint8_t>(state_ & 0xFF);
}

uint16_t crc16Xmodem(std::string_view data, uint16_t crc) {
    for (unsigned char byte : data) {
        crc ^= static_cast<uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021) : static_cast<uint16_t>(crc << 1);
    }
    return crc;
}

std::string scrambleForSd(std::string_view plain, KeyStream& keys) {
    std::string out;
    out.reserve(plain.size() + 2);
    for (char c : plain) out.push_back(static_cast<char>(static_cast<uint8_t>(c) ^ keys.next()));
    const uint16_t crc = crc16Xmodem(plain);
    out.push_back(static_cast<char>((crc & 0xFF) ^ keys.next()));
    out.push_back(static_cast<char>((crc >> 8) ^ keys.next()));
    return out;
}

bool unscrambleFromSd(std::string_view data, KeyStream& keys, std::string& plain) {
    // Even an empty exported file has one content byte fewer than this.
    if (data.size() < 3) return false;
    const size_t n = data.size() - 2;
    plain.clear();
    plain.reserve(n);
    for (size_t i = 0; i < n; ++i) plain.push_back(static_cast<char>(static_cast<uint8_t>(data[i]) ^ keys.next()));
    const uint8_t lo = static_cast<uint8_t>(data[n]) ^ keys.next();
    const uint8_t hi = static_cast<uint8_t>(data[n + 1]) ^ keys.next();
    return crc16Xmodem(plain) == static_cast<uint16_t>(lo | (hi << 8));
}

SdMessage sdMessage(SdOperation op, SdResult r) {
    switch (r) {
    case SdResult::Ok:
        return {"СООБЩЕНИЕ!", op == SdOperation::Export
                                  ? "СЕРВИСНЫЕ И ПОЛЬЗОВАТЕЛЬСКИЕ НАСТРОЙКИ УСПЕШНО СОХРАНЕНЫ!"
                                  : "СЕРВИСНЫЕ И ПОЛЬЗОВАТЕЛЬСКИЕ НАСТРОЙКИ УСПЕШНО ПРИМЕНЕНЫ!"};
    case SdResult::SilentStop: return {};
    case SdResult::SdMissing: return {"ОШИБКА!", "SD КАРТА НЕ ВСТАВЛЕНА ИЛИ НЕИСПРАВНА!"};
    case SdResult::SaveError: return {"ОШИБКА!", "ОШИБКА СОХРАНЕНИЯ НАСТРОЕК!"};
    case SdResult::LoadError: return {"ОШИБКА!", "ОШИБКА ЗАГРУЗКИ НАСТРОЕК!"};
    }
    return {};
}

SdResult exportToSd(const std::string& cfgDir, const std::string& sdDir, KeyStream& keys) {
    for (const char* name : {"user.cfg", "service.cfg"}) {
        std::string plain;
        if (!readWholeFile(join(cfgDir, name), plain)) return SdResult::SilentStop;
        if (!isDirectory(sdDir.empty() ? "." : sdDir)) return SdResult::SdMissing;
        // A copy that cannot be made is the card's fault, and no key is
        // used for it.
        AtomicFileWriter copy;
        if (!copy.create(join(sdDir, name))) return SdResult::SdMissing;
        if (!copy.commit(scrambleForSd(plain, keys))) return SdResult::SaveError;
    }
    return SdResult::Ok;
}

SdResult importFromSd(const std::string& cfgDir, const std::string& sdDir, KeyStream& keys,
                      std::mutex& settingsFileLock) {
    std::string plain[2];
    const char* names[2] = {"user.cfg", "service.cfg"};
    for (int i = 0; i < 2; ++i) {
        std::string data;
        if (!readWholeFile(join(sdDir, names[i]), data)) return SdResult::SdMissing;
        if (!unscrambleFromSd(data, keys, plain[i])) return SdResult::LoadError;
    }

    std::lock_guard<std::mutex> g(settingsFileLock);
    const std::string userPath = join(cfgDir, names[0]);
    std::string previousUser;
    const bool hadUser = readWholeFile(userPath, previousUser);
    if (!writeFileAtomically(userPath, plain[0])) return SdResult::LoadError;
    if (!writeFileAtomically(join(cfgDir, names[1]), plain[1])) {
        // Keep the pair consistent: put the old user.cfg back.
        if (hadUser) {
            writeFileAtomically(userPath, previousUser);
        } else {
            removeFile(userPath);
        }
        return SdResult::LoadError;
    }
    return SdResult::Ok;
}

bool applyImportedSettings(const std::string& cfgDir, Settings& s, Variant v, int32_t antiJamDay,
                           std::mutex& settingsFileLock) {
    loadServiceSettings(join(cfgDir, "service.cfg"), s, v);
    loadUserSettings(join(cfgDir, "user.cfg"), s, v, antiJamDay);
    s.usr.LAN_EN_LOC = 0;
    s.usr.LAN_EN_REM = 0;
    s.usr.LAN_PWD = 0;
    return saveUserSettings(join(cfgDir, "user.cfg"), s, v, settingsFileLock);
}

}  // namespace vesk
