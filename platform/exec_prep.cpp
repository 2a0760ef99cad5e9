// Descriptor clean-up before exec.
#include "platform/exec_prep.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/resource.h>
#include <unistd.h>

namespace vesk {

void markDescriptorsCloseOnExec() {
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0) return;
    // Older kernels: walk the descriptor table.
    rlimit rl{};
    int maxFd = ::getrlimit(RLIMIT_NOFILE, &rl) == 0 && rl.rlim_cur != RLIM_INFINITY
                    ? static_cast<int>(rl.rlim_cur < 65536 ? rl.rlim_cur : 65536)
                    : 65536;
    for (int fd = 3; fd < maxFd; ++fd) {
        int flags = ::fcntl(fd, F_GETFD);
        if (flags >= 0 && !(flags & FD_CLOEXEC)) ::fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
    }
}

}  // namespace vesk
