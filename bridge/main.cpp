// vesk-mqtt: bridges Vesk panels to an MQTT broker with Home Assistant
// discovery; runs until SIGTERM or SIGINT.
#include <csignal>
#include <cstdio>
#include <cstring>

#include "bridge/bridge.h"

int main(int argc, char** argv) {
    using namespace vesk::bridge;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("%s", kUsage);
            return 0;
        }
    BridgeConfig config;
    std::string error;
    if (!parseArguments(config, argc, argv, error)) {
        std::fprintf(stderr, "vesk-mqtt: %s (see --help)\n", error.c_str());
        return 2;
    }
    // The threads started below inherit the blocked signals; only the
    // main thread takes them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    // A panel or broker that goes away mid-write is a failed write, not an end.
    std::signal(SIGPIPE, SIG_IGN);
    Bridge bridge(config);
    if (!bridge.start(error)) {
        std::fprintf(stderr, "vesk-mqtt: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(stderr, "vesk-mqtt: serving %zu panel(s) through %s:%d\n", bridge.panelCount(),
                 config.broker.host.c_str(), config.broker.port);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    bridge.stop();
    return 0;
}
