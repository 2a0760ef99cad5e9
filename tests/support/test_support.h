// Helpers shared by the tests: temporary folders, pseudo-terminal pairs and
// the folder where the built programs are.
#pragma once
#include <string>

namespace vesk::test {

// A fresh folder under /tmp, removed with its content on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }  // with trailing '/'
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// A pseudo-terminal: `master` is the file descriptor the test holds (raw
// mode); `slavePath` is the device the code under test opens.
struct Pty {
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    int master = -1;
    std::string slavePath;

private:
    int slaveKeep_ = -1;
};

// Folder of the built programs (VESK_BIN, set by CTest).
std::string binDir();

// A loopback port free a moment ago (SOCK_STREAM or SOCK_DGRAM).
int freeLoopbackPort(int type);

void writeText(const std::string& path, const std::string& text);
std::string readText(const std::string& path);

}  // namespace vesk::test
