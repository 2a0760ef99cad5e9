// The Ethernet adapter as the network thread sees it: link up or down and
// its IPv4 address.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>

namespace vesk {

struct AdapterState {
    bool up = false;
    uint32_t address = 0;  // IPv4, first octet in the top byte; 0 = none
};

class NetworkAdapter {
public:
    virtual ~NetworkAdapter() = default;
    virtual AdapterState query() = 0;
};

// The interface named `iface` (VESK_NET_IFACE; a loopback named here counts
// as an up adapter), else the first up non-loopback Ethernet interface.
// `sysClassNet` is the folder of the interfaces' operstate and type files.
// The interfaces are looked at again only when the kernel reports a link or
// address change, and every 10 s in any case. One thread queries it.
class SystemNetworkAdapter : public NetworkAdapter {
public:
    explicit SystemNetworkAdapter(std::string iface, std::string sysClassNet = "/sys/class/net/");
    ~SystemNetworkAdapter() override;
    SystemNetworkAdapter(const SystemNetworkAdapter&) = delete;
    SystemNetworkAdapter& operator=(const SystemNetworkAdapter&) = delete;
    AdapterState query() override;

private:
    AdapterState scan() const;
    bool changesReported();

    std::string iface_;
    std::string sysClassNet_;
    int events_ = -1;  // link and address notifications; -1: scan every time
    bool scanned_ = false;
    AdapterState last_;
    std::chrono::steady_clock::time_point lastScan_;
};

}  // namespace vesk
