// Adapter query over getifaddrs and the interfaces' sysfs files.
#include "platform/network_adapter.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <fcntl.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace vesk {

namespace {

constexpr int kArphrdEther = 1;
constexpr std::chrono::seconds kRescan{10};  // in case a notification was lost

// A socket that hears of links and IPv4 addresses coming and going.
int openChangeEvents() {
    const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (fd < 0) return -1;
    sockaddr_nl addr{};
    addr.nl_family = AF_NETLINK;
    addr.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Plain reads: the network thread asks every second, and a stream per
// file cost more than the rest of its pass.
std::string firstLine(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    char buf[64];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    ::close(fd);
    if (n <= 0) return {};
    std::string line(buf, static_cast<size_t>(n));
    return line.substr(0, line.find('\n'));
}

// Drivers that do not track the carrier report "unknown"; then the
// interface flags decide.
bool linkUp(const std::string& sys, const std::string& name, unsigned flags) {
    std::string state = firstLine(sys + name + "/operstate");
    if (state == "up") return true;
    if (state == "unknown" || state.empty()) return (flags & IFF_UP) && (flags & IFF_RUNNING);
    return false;
}

bool isEthernet(const std::string& sys, const std::string& name) {
    return firstLine(sys + name + "/type") == std::to_string(kArphrdEther);
}

}  // namespace

SystemNetworkAdapter::SystemNetworkAdapter(std::string iface, std::string sysClassNet)
    : iface_(std::move(iface)), sysClassNet_(std::move(sysClassNet)), events_(openChangeEvents()) {
    if (!sysClassNet_.empty() && sysClassNet_.back() != '/') sysClassNet_ += '/';
}

SystemNetworkAdapter::~SystemNetworkAdapter() {
    if (events_ >= 0) ::close(events_);
}

bool SystemNetworkAdapter::changesReported() {
    if (events_ < 0) return true;
    bool any = false;
    char buf[8192];
    for (;;) {
        const ssize_t n = ::recv(events_, buf, sizeof buf, MSG_DONTWAIT);
        if (n > 0) {
            any = true;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return any;
        } else if (n < 0 && errno == ENOBUFS) {
            any = true;  // notifications were dropped: look again
        } else {
            ::close(events_);  // the socket broke: scan every time from now on
            events_ = -1;
            return true;
        }
    }
}

AdapterState SystemNetworkAdapter::query() {
    // The socket exists before the first scan, so no change slips between.
    const auto now = std::chrono::steady_clock::now();
    if (changesReported() || !scanned_ || now - lastScan_ >= kRescan) {
        last_ = scan();
        scanned_ = true;
        lastScan_ = now;
    }
    return last_;
}

AdapterState SystemNetworkAdapter::scan() const {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return {};
    std::string chosen = iface_;
    AdapterState st;
    if (chosen.empty()) {
        for (ifaddrs* a = list; a; a = a->ifa_next) {
            if (!a->ifa_name || (a->ifa_flags & IFF_LOOPBACK)) continue;
            if (isEthernet(sysClassNet_, a->ifa_name) && linkUp(sysClassNet_, a->ifa_name, a->ifa_flags)) {
                chosen = a->ifa_name;
                st.up = true;
                break;
            }
        }
    }
    for (ifaddrs* a = list; a && !chosen.empty(); a = a->ifa_next) {
        if (!a->ifa_name || chosen != a->ifa_name) continue;
        if (!st.up)
            st.up = (a->ifa_flags & IFF_LOOPBACK) ? (a->ifa_flags & IFF_UP) != 0
                                                  : linkUp(sysClassNet_, a->ifa_name, a->ifa_flags);
        if (st.address == 0 && a->ifa_addr && a->ifa_addr->sa_family == AF_INET)
            st.address = ntohl(reinterpret_cast<sockaddr_in*>(a->ifa_addr)->sin_addr.s_addr);
    }
    ::freeifaddrs(list);
    if (!st.up) st.address = 0;
    return st;
}

}  // namespace vesk
