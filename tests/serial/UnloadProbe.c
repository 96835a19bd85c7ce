// Loads the link library into a process that holds no other copy of it, opens a port, unloads
// the library, and prints whether the port is still in exclusive mode: "exclusive=0" or "=1".
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/ioctl.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s LIBRARY DEVICE\n", argv[0]);
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    // dlsym gives an object pointer; ISO C converts it to a function pointer only by its bytes.
    void* symbol = dlsym(library, "HVX_ConnectDevice");
    int (*connectDevice)(char*, const char*, int) = NULL;
    if (symbol)
        memcpy(&connectDevice, &symbol, sizeof connectDevice);
    if (!connectDevice || connectDevice(NULL, argv[2], 9600) != 1) {
        fprintf(stderr, "no connection on %s\n", argv[2]);
        return 2;
    }
    dlclose(library);

    const int fd = open(argv[2], O_RDWR | O_NOCTTY | O_NONBLOCK);
    int exclusive = -1;
    if (fd < 0 || ioctl(fd, TIOCGEXCL, &exclusive) != 0) {
        perror(argv[2]);
        return 2;
    }
    close(fd);
    printf("exclusive=%d\n", exclusive);
    return 0;
}
