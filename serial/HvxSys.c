#include "serial/HvxSys.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

static int realOpen(const char* path, int flags) {
    return open(path, flags);
}
static int realIoctl(int fd, unsigned long request, void* arg) {
    return ioctl(fd, request, arg);
}

static const struct HvxSys kRealSys = {realOpen, close, realIoctl, read, write, poll};
static const struct HvxSys* g_sys = &kRealSys;

const struct HvxSys* hvxSys(void) {
    return g_sys;
}

void hvxSetSys(const struct HvxSys* sys) {
    g_sys = sys ? sys : &kRealSys;
}

const struct HvxSys* hvxRealSys(void) {
    return &kRealSys;
}
