// The simulator's end of the power-board line: a pseudo-terminal it makes
// itself, or a tty it is given.
#pragma once
#include <cstddef>
#include <string>

namespace vesk {

class SerialEnd {
public:
    SerialEnd() = default;
    ~SerialEnd();
    SerialEnd(const SerialEnd&) = delete;
    SerialEnd& operator=(const SerialEnd&) = delete;

    bool openPty(std::string& error);
    bool openDevice(const std::string& path, std::string& error);
    int fd() const { return fd_; }
    // Device path the panel opens.
    const std::string& path() const { return path_; }

    // Readings that nobody has read pile up in the pty; beyond `keepBytes`
    // they are dropped so that a panel opening the line late starts fresh.
    void dropStale(size_t keepBytes);
    // The panel opens its line exclusively; as the slave stays open here the
    // flag would outlive the panel and lock out the next program.
    void releaseExclusive();

private:
    int fd_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace vesk
