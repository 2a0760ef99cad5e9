// libmosquitto in threaded mode.
#include "bridge/mqtt_link.h"

#include <mosquitto.h>

#include <cstdio>

namespace vesk::bridge {
namespace {

constexpr int kQos = 1;

struct LibraryInit {
    LibraryInit() { mosquitto_lib_init(); }
    ~LibraryInit() { mosquitto_lib_cleanup(); }
};

}  // namespace

MqttLink::MqttLink(BrokerOptions o, std::string willTopic) : o_(std::move(o)), willTopic_(std::move(willTopic)) {
    static LibraryInit init;
}

MqttLink::~MqttLink() {
    stop();
    if (m_) mosquitto_destroy(m_);
}

bool MqttLink::start(std::string& error) {
    m_ = mosquitto_new(o_.clientId.c_str(), true, this);
    if (!m_) {
        error = "cannot create the MQTT client";
        return false;
    }
    mosquitto_int_option(m_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(m_, connectCb);
    mosquitto_disconnect_callback_set(m_, disconnectCb);
    mosquitto_message_callback_set(m_, messageCb);
    mosquitto_reconnect_delay_set(m_, static_cast<unsigned>(o_.reconnectMinS), static_cast<unsigned>(o_.reconnectMaxS),
                                  true);
    if (mosquitto_will_set(m_, willTopic_.c_str(), 7, "offline", kQos, true) != MOSQ_ERR_SUCCESS) {
        error = "bad last-will topic " + willTopic_;
        return false;
    }
    if (!o_.username.empty() &&
        mosquitto_username_pw_set(m_, o_.username.c_str(), o_.password.empty() ? nullptr : o_.password.c_str()) !=
            MOSQ_ERR_SUCCESS) {
        error = "cannot set the broker login";
        return false;
    }
    if (o_.tls) {
        const char* caFile = o_.tlsCaFile.empty() ? nullptr : o_.tlsCaFile.c_str();
        const char* caPath = o_.tlsCaFile.empty() ? "/etc/ssl/certs" : nullptr;
        const int rc = mosquitto_tls_set(m_, caFile, caPath, nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            error = std::string("TLS to the broker: ") + mosquitto_strerror(rc);
            return false;
        }
        if (o_.tlsInsecure) mosquitto_tls_insecure_set(m_, true);
    }
    // A broker that is not there yet is no error: the network thread keeps
    // trying with back-off.
    const int rc = mosquitto_connect_async(m_, o_.host.c_str(), o_.port, o_.keepAliveS);
    if (rc == MOSQ_ERR_INVAL) {
        error = "bad broker address " + o_.host + ":" + std::to_string(o_.port);
        return false;
    }
    if (mosquitto_loop_start(m_) != MOSQ_ERR_SUCCESS) {
        error = "cannot start the MQTT network thread";
        return false;
    }
    started_ = true;
    return true;
}

void MqttLink::stop() {
    if (!started_) return;
    started_ = false;
    // A clean disconnect: the broker does not send the last will, so the
    // bridge says so itself.
    if (connected_) publish(willTopic_, "offline", true);
    mosquitto_disconnect(m_);
    mosquitto_loop_stop(m_, true);
    connected_ = false;
}

bool MqttLink::publish(const std::string& topic, const std::string& payload, bool retain) {
    if (!connected_) return false;
    const int rc = mosquitto_publish(m_, nullptr, topic.c_str(), static_cast<int>(payload.size()), payload.data(),
                                     kQos, retain);
    if (rc != MOSQ_ERR_SUCCESS) return false;
    ++published_;
    return true;
}

void MqttLink::subscribe(const std::string& filter) { mosquitto_subscribe(m_, nullptr, filter.c_str(), kQos); }

void MqttLink::connectCb(mosquitto*, void* self, int rc) {
    auto* l = static_cast<MqttLink*>(self);
    if (rc != 0) {
        std::fprintf(stderr, "vesk-mqtt: broker refused the connection: %s\n", mosquitto_connack_string(rc));
        return;
    }
    std::fprintf(stderr, "vesk-mqtt: connected to the broker %s:%d\n", l->o_.host.c_str(), l->o_.port);
    l->connected_ = true;
    l->publish(l->willTopic_, "online", true);
    if (l->onConnect_) l->onConnect_();
}

void MqttLink::disconnectCb(mosquitto*, void* self, int rc) {
    auto* l = static_cast<MqttLink*>(self);
    if (l->connected_ && rc != 0) std::fprintf(stderr, "vesk-mqtt: lost the broker; reconnecting\n");
    l->connected_ = false;
}

void MqttLink::messageCb(mosquitto*, void* self, const mosquitto_message* m) {
    auto* l = static_cast<MqttLink*>(self);
    if (!l->onMessage_ || !m->topic) return;
    l->onMessage_(m->topic, std::string(static_cast<const char*>(m->payload), static_cast<size_t>(m->payloadlen)));
}

}  // namespace vesk::bridge
