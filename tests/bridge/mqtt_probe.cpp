// The broker process and the recording client.
#include "bridge/mqtt_probe.h"

#include <arpa/inet.h>
#include <mosquitto.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace vesk::test {
namespace {

bool accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

Broker::Broker(const std::string& extra) : port_(freeLoopbackPort(SOCK_STREAM)) {
    writeText(dir_.file("mosquitto.conf"), "per_listener_settings true\npersistence false\nlistener " +
                                               std::to_string(port_) + " 127.0.0.1\nallow_anonymous true\n" + extra);
}

bool Broker::start() {
    if (!process_.start("/usr/sbin/mosquitto", {"-c", dir_.file("mosquitto.conf")})) return false;
    for (int i = 0; i < 100; ++i) {
        if (accepts(port_)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

MqttProbe::MqttProbe(int port, const std::string& filter) : filter_(filter) {
    mosquitto_lib_init();
    m_ = mosquitto_new(nullptr, true, this);
    mosquitto_connect_callback_set(m_, onConnect);
    mosquitto_message_callback_set(m_, onMessage);
    connected_ = mosquitto_connect(m_, "127.0.0.1", port, 30) == MOSQ_ERR_SUCCESS;
    mosquitto_loop_start(m_);
    // Subscribed once the broker has acknowledged the connection.
    for (int i = 0; i < 100 && connected_; ++i) {
        {
            std::lock_guard<std::mutex> g(lock_);
            if (subscribed_) break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

MqttProbe::~MqttProbe() {
    mosquitto_disconnect(m_);
    mosquitto_loop_stop(m_, true);
    mosquitto_destroy(m_);
}

void MqttProbe::onConnect(mosquitto* m, void* self, int rc) {
    auto* p = static_cast<MqttProbe*>(self);
    if (rc != 0) return;
    mosquitto_subscribe(m, nullptr, p->filter_.c_str(), 1);
    std::lock_guard<std::mutex> g(p->lock_);
    p->subscribed_ = true;
}

void MqttProbe::onMessage(mosquitto*, void* self, const mosquitto_message* m) {
    auto* p = static_cast<MqttProbe*>(self);
    std::lock_guard<std::mutex> g(p->lock_);
    p->messages_.push_back({m->topic, std::string(static_cast<const char*>(m->payload),
                                                  static_cast<size_t>(m->payloadlen)),
                            m->retain, std::chrono::steady_clock::now()});
    p->changed_.notify_all();
}

void MqttProbe::publish(const std::string& topic, const std::string& payload) {
    mosquitto_publish(m_, nullptr, topic.c_str(), static_cast<int>(payload.size()), payload.data(), 1, false);
}

std::optional<MqttMessage> MqttProbe::waitFor(const std::function<bool(const MqttMessage&)>& match,
                                              std::chrono::milliseconds timeout, size_t from) {
    std::unique_lock<std::mutex> g(lock_);
    const auto end = std::chrono::steady_clock::now() + timeout;
    size_t next = from;
    do {
        for (; next < messages_.size(); ++next)
            if (match(messages_[next])) return messages_[next];
    } while (changed_.wait_until(g, end) != std::cv_status::timeout || next < messages_.size());
    return std::nullopt;
}

std::optional<MqttMessage> MqttProbe::waitForTopic(const std::string& topic, std::chrono::milliseconds timeout,
                                                   size_t from) {
    return waitFor([&](const MqttMessage& m) { return m.topic == topic; }, timeout, from);
}

size_t MqttProbe::seen() {
    std::lock_guard<std::mutex> g(lock_);
    return messages_.size();
}

std::vector<MqttMessage> MqttProbe::all() {
    std::lock_guard<std::mutex> g(lock_);
    return messages_;
}

}  // namespace vesk::test
