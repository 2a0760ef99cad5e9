// Routing between the broker and the panels.
#include "bridge/bridge.h"

#include <algorithm>
#include <cstdio>

#include "net/client/client_link.h"

namespace vesk::bridge {
namespace {

// Events that happen while the broker is away, kept for its return.
constexpr size_t kMaxKeptEvents = 1000;

}  // namespace

Bridge::Bridge(BridgeConfig c) : config_(std::move(c)), mqtt_(config_.broker, config_.topics.bridgeAvailability()) {}

Bridge::~Bridge() { stop(); }

bool Bridge::start(std::string& error) {
    mqtt_.onConnect([this] { onConnect(); });
    mqtt_.onMessage([this](const std::string& t, const std::string& p) { onMessage(t, p); });
    running_ = true;
    for (const PanelAddress& a : config_.panels) addPanel(a);
    if (!mqtt_.start(error)) return false;
    if (!config_.discoverHost.empty()) discovery_ = std::thread([this] { discoveryLoop(); });
    return true;
}

void Bridge::stop() {
    if (!running_.exchange(false)) return;
    if (discovery_.joinable()) discovery_.join();
    std::vector<std::unique_ptr<PanelWorker>> workers;
    {
        std::lock_guard<std::mutex> g(lock_);
        workers.swap(workers_);
    }
    for (auto& w : workers) w->stop();
    for (auto& w : workers)
        if (w->serial()) publish(config_.topics.availability(w->serial()), "offline", true);
    mqtt_.stop();
}

size_t Bridge::panelCount() {
    std::lock_guard<std::mutex> g(lock_);
    return workers_.size();
}

void Bridge::addPanel(const PanelAddress& a) {
    std::lock_guard<std::mutex> g(lock_);
    for (const auto& w : workers_)
        if ((a.serial && w->serial() == *a.serial) || (w->address().host == a.host && w->address().port == a.port))
            return;
    workers_.push_back(std::make_unique<PanelWorker>(a, config_.topics, config_.timing, *this));
    workers_.back()->start();
}

void Bridge::discoveryLoop() {
    // Asked often at first (panels may still be starting), then every
    // discover-every seconds.
    int waitS = 2;
    while (running_) {
        std::string error;
        const auto answers = client::discover(config_.discoverHost == "broadcast" ? "" : config_.discoverHost,
                                              config_.discoveryPort, 0xFFFFFFFF, 2000, error);
        for (const auto& a : answers) {
            PanelAddress p;
            p.host = a.address;
            p.port = config_.panelPort;
            p.discoveryPort = config_.discoveryPort;
            p.serial = a.serial;
            p.password = config_.panelPassword;
            addPanel(p);
        }
        for (int i = 0; i < waitS * 10 && running_; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        waitS = std::min(waitS * 2, config_.discoverEveryS);
    }
}

void Bridge::publish(const std::string& topic, const std::string& payload, bool retain) {
    mqtt_.publish(topic, payload, retain);
}

void Bridge::publishEvent(const std::string& topic, const std::string& payload) {
    std::lock_guard<std::mutex> g(eventsLock_);
    if (keptEvents_.empty() && mqtt_.publish(topic, payload, false)) return;
    if (keptEvents_.size() >= kMaxKeptEvents) keptEvents_.pop_front();
    keptEvents_.emplace_back(topic, payload);
}

void Bridge::onConnect() {
    mqtt_.subscribe(config_.topics.commandFilter());
    {
        std::lock_guard<std::mutex> g(lock_);
        // The broker may have restarted without what it held: give it all again.
        for (const auto& w : workers_) w->republish();
    }
    std::lock_guard<std::mutex> g(eventsLock_);
    while (!keptEvents_.empty() && mqtt_.publish(keptEvents_.front().first, keptEvents_.front().second, false))
        keptEvents_.pop_front();
}

void Bridge::onMessage(const std::string& topic, const std::string& payload) {
    // <prefix>/<serial>/set/<item>
    const std::string head = config_.topics.prefix + "/";
    if (topic.rfind(head, 0) != 0) return;
    const size_t slash = topic.find('/', head.size());
    if (slash == std::string::npos || topic.compare(slash, 5, "/set/") != 0) return;
    const std::string serialText = topic.substr(head.size(), slash - head.size());
    const std::string item = topic.substr(slash + 5);
    std::lock_guard<std::mutex> g(lock_);
    for (const auto& w : workers_)
        if (w->serial() && std::to_string(w->serial()) == serialText) return w->submit(item, payload);
    std::fprintf(stderr, "vesk-mqtt: command for unknown panel %s ignored\n", serialText.c_str());
}

}  // namespace vesk::bridge
