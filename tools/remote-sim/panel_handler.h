// What remote-sim does with each message from the panel: print it, log in
// after the hello, answer keep-alives.
#pragma once
#include <functional>
#include <string>

#include "net/message_handler.h"
#include "options.h"

namespace vesk {

class PanelHandler : public MessageHandler {
public:
    using Emit = std::function<void(const std::string&)>;
    PanelHandler(const RemoteSimOptions& o, Emit emit) : options_(o), emit_(std::move(emit)) {}

    MessageVerdict handle(ConnectionContext& c, const uint8_t* msg, size_t n,
                          std::vector<std::vector<uint8_t>>& replies) override;
    bool statusChanged(std::vector<uint8_t>&) override { return false; }
    std::vector<uint8_t> remoteHello() override { return {}; }
    std::vector<uint8_t> keepAlive() override { return {}; }

    // Login with the options' credentials (the hello's serial by default).
    std::vector<uint8_t> login() const;
    bool loggedIn() const { return loggedIn_; }
    // A new panel connection starts from scratch.
    void reset();

private:
    const RemoteSimOptions& options_;
    Emit emit_;
    uint32_t helloSerial_ = 0;
    bool loggedIn_ = false;
};

}  // namespace vesk
