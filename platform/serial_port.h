// A raw serial line (termios). Read time-outs are in panel time.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vesk {

class Clock;

class SerialPort {
public:
    virtual ~SerialPort() = default;
    // Reads up to `n` bytes; waits at most `timeoutMs` panel ms for the first
    // byte, then returns what has arrived. Returns the count, 0 on time-out,
    // -1 on a read error.
    virtual int read(uint8_t* buf, size_t n, int64_t timeoutMs) = 0;
    // Writes all bytes in one call; false on error.
    virtual bool write(const uint8_t* buf, size_t n) = 0;
    // Makes a waiting read return -1 soon, and every later one at once;
    // lets the owner end a reader thread. Safe from any thread.
    virtual void cancel() {}
};

class TermiosSerialPort : public SerialPort {
public:
    explicit TermiosSerialPort(const Clock& clock);
    ~TermiosSerialPort() override;
    // Opens an existing device exclusively in raw 8N1 at `baud`.
    bool open(const std::string& path, int baud);
    bool isOpen() const { return fd_ >= 0; }
    void close();
    int read(uint8_t* buf, size_t n, int64_t timeoutMs) override;
    bool write(const uint8_t* buf, size_t n) override;
    void cancel() override;
    int fd() const { return fd_; }

private:
    const Clock& clock_;
    int fd_ = -1;
    // Readable after a cancel: a waiting read wakes at once instead of
    // looking at the flag several times a second.
    int wake_ = -1;
    std::atomic<bool> cancelled_{false};
};

}  // namespace vesk
