// A panel's worker thread.
#include "bridge/panel_worker.h"

#include <cstdio>
#include <ctime>

#include "bridge/commands.h"
#include "bridge/ha_discovery.h"
#include "net/client/client_link.h"
#include "net/client/status_fields.h"
#include "net/message.h"

namespace vesk::bridge {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono;

// How long one wait for a notification lasts before queued commands and
// the poll are looked at again.
constexpr milliseconds kSlice{50};

std::string utcNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return buf;
}

bool contains(const std::vector<client::ActiveAlarm>& list, const std::string& id) {
    for (const auto& a : list)
        if (a.id == id) return true;
    return false;
}

}  // namespace

PanelWorker::PanelWorker(PanelAddress a, const Topics& t, WorkerTiming timing, Publisher& out)
    : address_(std::move(a)), topics_(t), timing_(timing), out_(out) {
    if (address_.serial) serial_ = *address_.serial;
}

PanelWorker::~PanelWorker() { stop(); }

void PanelWorker::start() {
    running_ = true;
    thread_ = std::thread([this] { run(); });
}

void PanelWorker::stop() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> g(lock_);
        running_ = false;
    }
    wake_.notify_all();
    thread_.join();
}

bool PanelWorker::pause(milliseconds d) {
    std::unique_lock<std::mutex> g(lock_);
    wake_.wait_for(g, d, [this] { return !running_; });
    return running_;
}

void PanelWorker::submit(const std::string& item, const std::string& payload) {
    {
        std::lock_guard<std::mutex> g(lock_);
        // A flood of commands to a dead panel stays bounded.
        if (commands_.size() >= 64) commands_.pop_front();
        commands_.push_back({item, payload});
    }
    wake_.notify_all();
}

void PanelWorker::republish() {
    std::lock_guard<std::mutex> g(lock_);
    const uint32_t s = serial_;
    if (!s) return;
    if (device_)
        for (const DiscoveryConfig& c : discoveryConfigs(topics_, *device_)) out_.publish(c.topic, c.payload, true);
    if (availabilityKnown_) out_.publish(topics_.availability(s), online_ ? "online" : "offline", true);
    if (!lastState_.empty()) out_.publish(topics_.state(s), lastState_, true);
}

void PanelWorker::setAvailable(bool online) {
    std::lock_guard<std::mutex> g(lock_);
    if (availabilityKnown_ && online_ == online) return;
    availabilityKnown_ = true;
    online_ = online;
    if (serial_) out_.publish(topics_.availability(serial_), online ? "online" : "offline", true);
}

void PanelWorker::answerQueued(const std::string& result, const std::string& message) {
    std::deque<Command> queued;
    {
        std::lock_guard<std::mutex> g(lock_);
        queued.swap(commands_);
    }
    for (const Command& c : queued) answer(c, result, message, nullptr, nullptr);
}

void PanelWorker::run() {
    milliseconds backoff = timing_.backoffMin;
    while (running_) {
        client::ClientLink link;
        if (connect(link)) {
            backoff = timing_.backoffMin;
            serve(link);
            if (!running_) break;
        } else {
            backoff = std::min(backoff * 2, timing_.backoffMax);
        }
        setAvailable(false);
        answerQueued("offline", "the panel is not reachable");
        if (!pause(backoff)) break;
    }
}

bool PanelWorker::connect(client::ClientLink& link) {
    const int timeout = static_cast<int>(timing_.answer.count());
    std::string error;
    if (!serial_) {
        const auto answers = client::discover(address_.host, address_.discoveryPort, 0xFFFFFFFF, timeout, error);
        if (answers.empty()) return false;
        serial_ = answers.front().serial;
    }
    if (!link.connect(address_.host, address_.port, timeout, error)) return false;
    const int login = link.login(serial_, address_.password, timeout);
    if (login != 0) {
        if (login > 0)
            std::fprintf(stderr, "vesk-mqtt: panel %u at %s refused the login\n", serial_.load(), address_.host.c_str());
        return false;
    }
    client::Reply info, version;
    if (!link.command(0, {}, info, timeout) || info.result != kDone) return false;
    PanelDevice d;
    d.serial = serial_;
    if (!readDeviceInfo(info.data, d)) return false;
    if (link.command(static_cast<uint16_t>(client::opCode(d.variant, client::Op::Version)), {}, version, timeout) &&
        version.result == kDone && version.data.size() >= 2)
        d.protocolVersion = getU16(version.data.data());
    {
        std::lock_guard<std::mutex> g(lock_);
        const bool changed = !device_ || device_->variant != d.variant || device_->powerKw != d.powerKw ||
                             device_->boardType != d.boardType || device_->boilerType != d.boilerType;
        device_ = d;
        if (changed)
            for (const DiscoveryConfig& c : discoveryConfigs(topics_, d)) out_.publish(c.topic, c.payload, true);
    }
    if (!refreshStatus(link)) return false;
    setAvailable(true);
    return true;
}

void PanelWorker::serve(client::ClientLink& link) {
    auto nextPoll = Clock::now() + timing_.poll;
    std::vector<uint8_t> m;
    while (running_ && !link.closed()) {
        for (;;) {
            std::optional<Command> c;
            {
                std::lock_guard<std::mutex> g(lock_);
                if (!commands_.empty()) {
                    c = std::move(commands_.front());
                    commands_.pop_front();
                }
            }
            if (!c) break;
            runCommand(link, *c);
        }
        if (link.notification(m, static_cast<int>(kSlice.count()))) {
            noteNotification(m);
            // A notification says something changed: read it all at once,
            // and take any that queued meanwhile in the same breath.
            while (link.notificationsPending() && link.notification(m, 0)) noteNotification(m);
            if (!refreshStatus(link)) return;
            nextPoll = Clock::now() + timing_.poll;
        } else if (Clock::now() >= nextPoll) {
            if (!refreshStatus(link)) return;
            nextPoll = Clock::now() + timing_.poll;
        }
    }
}

void PanelWorker::noteNotification(const std::vector<uint8_t>& m) {
    client::Notification n;
    if (!client::decodeNotification(m, n)) return;
    char when[32];
    std::snprintf(when, sizeof when, "%04d-%02d-%02dT%02d:%02d:%02d", n.year, n.month, n.day, n.hour, n.minute,
                  n.second);
    std::lock_guard<std::mutex> g(lock_);
    notifiedWordB_ = n.wordB;
    pendingPanelTime_ = when;
}

bool PanelWorker::refreshStatus(client::ClientLink& link) {
    client::Reply r;
    const Variant v = device_ ? device_->variant : Variant::Orvena;
    if (!link.command(static_cast<uint16_t>(client::opCode(v, client::Op::Status)), {}, r,
                      static_cast<int>(timing_.answer.count())))
        return false;
    if (r.result != kDone || !client::variantOfRecord(r.data.size())) return false;
    std::lock_guard<std::mutex> g(lock_);
    lastRecord_ = r.data;
    const uint16_t a = getU16(r.data.data() + 23), b = getU16(r.data.data() + 25);
    const Alarms now = alarmsOf(v, a, b, notifiedWordB_);
    if (alarms_) publishEvents(*alarms_, now, pendingPanelTime_);
    alarms_ = now;
    pendingPanelTime_.clear();
    const nlohmann::json state = stateJson(*device_, r.data, now);
    std::string text = state.dump();
    if (text != lastState_) {
        lastState_ = std::move(text);
        out_.publish(topics_.state(serial_), lastState_, true);
    }
    return true;
}

void PanelWorker::publishEvents(const Alarms& before, const Alarms& now, const std::string& panelTime) {
    auto diff = [&](const char* kind, const std::vector<client::ActiveAlarm>& was,
                    const std::vector<client::ActiveAlarm>& is) {
        auto emit = [&](const client::ActiveAlarm& a, const char* change) {
            nlohmann::json e = {{"time", utcNow()}, {"kind", kind}, {"event", change}, {"id", a.id},
                                {"code", a.code}, {"text", a.text}};
            if (!panelTime.empty()) e["panel_time"] = panelTime;
            out_.publishEvent(topics_.event(serial_), e.dump());
        };
        for (const auto& a : is)
            if (!contains(was, a.id)) emit(a, "raised");
        for (const auto& a : was)
            if (!contains(is, a.id)) emit(a, "cleared");
    };
    diff("fault", before.faults, now.faults);
    diff("warning", before.warnings, now.warnings);
}

void PanelWorker::answer(const Command& c, const std::string& result, const std::string& message,
                         const nlohmann::json& id, const nlohmann::json& value) {
    nlohmann::json j = {{"item", c.item}, {"result", result}, {"time", utcNow()}};
    if (!value.is_null()) j["value"] = value;
    if (!message.empty()) j["message"] = message;
    if (!id.is_null()) j["id"] = id;
    out_.publishEvent(topics_.result(serial_), j.dump());
}

void PanelWorker::runCommand(client::ClientLink& link, const Command& c) {
    const CommandItem* item = findCommandItem(c.item);
    if (!item) return answer(c, "invalid", "unknown item " + c.item, nullptr, nullptr);
    ParsedPayload p;
    std::string error;
    if (!parsePayload(c.payload, p, error)) return answer(c, "invalid", error, nullptr, nullptr);
    // The other fields a command carries come from the panel as it is now.
    if (!refreshStatus(link)) return answer(c, "failed", "no answer from the panel", p.id, p.value);
    std::map<std::string, int64_t> current;
    Variant v;
    {
        std::lock_guard<std::mutex> g(lock_);
        current = client::statusMap(lastRecord_);
        v = device_->variant;
    }
    const CommandPlan plan = planCommand(*item, p.value, v, current);
    if (!plan.ok) return answer(c, "invalid", plan.error, p.id, p.value);
    for (const client::SetRequest& r : plan.requests) {
        client::Reply reply;
        if (!link.command(r.code, r.data, reply, static_cast<int>(timing_.answer.count())))
            return answer(c, "failed", "no answer from the panel", p.id, p.value);
        if (reply.result != kDone) {
            static const char* const kWhy[] = {"done", "refused by the panel (out of its range)", "unknown command",
                                               "not authenticated"};
            return answer(c, "refused", reply.result < 4 ? kWhy[reply.result] : "refused", p.id, p.value);
        }
    }
    answer(c, "done", "", p.id, p.value);
    refreshStatus(link);
}

}  // namespace vesk::bridge
