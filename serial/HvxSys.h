#pragma once

/* The few system calls of the library, behind a table that tests can replace to produce line states
 * a pseudo-terminal cannot (CTS low, output held by flow control). Internal: never exported. */

#include <poll.h>
#include <stddef.h>
#include <sys/types.h>

#ifdef __cplusplus
extern "C" {
#endif

struct HvxSys {
    int (*open)(const char* path, int flags);
    int (*close)(int fd);
    int (*ioctl)(int fd, unsigned long request, void* arg);
    ssize_t (*read)(int fd, void* buffer, size_t size);
    ssize_t (*write)(int fd, const void* data, size_t size);
    int (*poll)(struct pollfd* fds, nfds_t count, int timeoutMs);
};

/* The table in use: the real calls unless a test installed its own. */
const struct HvxSys* hvxSys(void);

/* Installs `sys` (kept by pointer, must outlive its use); null puts the real calls back. */
void hvxSetSys(const struct HvxSys* sys);

/* The real calls, for a test table that forwards most of them. */
const struct HvxSys* hvxRealSys(void);

#ifdef __cplusplus
}
#endif
