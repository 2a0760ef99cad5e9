// Option parsing and the help text of remote-sim.
#include "options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vesk {

namespace {

bool parseNumber(const char* text, double lo, double hi, double& out) {
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || v < lo || v > hi) return false;
    out = v;
    return true;
}

}  // namespace

bool parseRemoteSimOptions(int argc, char** argv, RemoteSimOptions& out, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            out.help = true;
            continue;
        }
        if (a == "--no-login") {
            out.autoLogin = false;
            continue;
        }
        if (i + 1 >= argc) {
            error = "missing value after " + a;
            return false;
        }
        const char* v = argv[++i];
        double n = 0;
        if (a == "--port" && parseNumber(v, 0, 65535, n)) {
            out.port = static_cast<uint16_t>(n);
        } else if (a == "--variant" && (std::strcmp(v, "orvena") == 0 || std::strcmp(v, "kestralo") == 0)) {
            out.variant = std::strcmp(v, "kestralo") == 0 ? Variant::Kestralo : Variant::Orvena;
        } else if (a == "--serial" && parseNumber(v, 0, 4294967295.0, n)) {
            out.serial = static_cast<uint32_t>(n);
        } else if (a == "--password" && parseNumber(v, 0, 4294967295.0, n)) {
            out.password = static_cast<uint32_t>(n);
        } else if (a == "--poll" && parseNumber(v, 0, 86400, n)) {
            out.pollSeconds = n;
        } else {
            error = "bad option or value: " + a + " " + v;
            return false;
        }
    }
    return true;
}

const char* remoteSimUsage() {
    return R"(remote-sim: stands in for the remote server of the panel.

Listens for the panel's TLS 1.2 connection (pre-shared key of the variant,
suite TLS-PSK-WITH-AES-128-CBC-SHA256), prints the panel's hello, logs in,
polls the status and runs commands typed on standard input. Point the
panel at it with VESK_REMOTE=host:port.

Options:
  --port N          port to listen on (default 1978; 0 = any free port)
  --variant V       orvena (default) or kestralo: key, identity, command codes
  --serial N        identifier for the login (default: the one in the hello)
  --password N      network password LAN_PWD for the login (default 0)
  --poll S          GetStatus every S seconds after login (default 10, 0 = off)
  --no-login        do not log in after the hello
  --help            this text

Commands on standard input (one per line):
  status                 GetStatus, a few fields decoded
  info                   GetDeviceInfo
  version                GetProtocolVersion
  start | stop           StartStop
  set TWAT_UST N         water set-point
  set TAIR_UST N         room air set-point
  set POW_UST_MIN N POW_UST M
                         power limits (both at once)
  login [SERIAL PASS]    log in again (default: the options)
  cmd CODE [HEX]         command CODE with data bytes in hex, reply wanted
  send CODE [HEX]        the same without a reply
  raw GROUP KIND [HEX]   any message
  quit                   end the program

Output lines (one event per line):
  listening port=N
  panel connected from=ADDR | panel closed | panel replaced
  tls up suite=NAME | tls failed error=-0xNNNN
  hello serial=N
  login result=R
  reply code=C result=R len=L data=HEX
  status water=T air=T burner=S power=P twat_ust=T tair_ust=T a=0xNNNN b=0xNNNN
  notification a=0xNNNN b=0xNNNN time=YYYY-MM-DD hh:mm:ss
  keepalive
  message group=G kind=K len=L data=HEX
  error TEXT
)";
}

}  // namespace vesk
