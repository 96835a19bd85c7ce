/* vistrel-cltrial PATH: loads a Camera Link serial library and unloads it again, then prints
 * "loaded". The program runs it before loading a library into itself, so a library whose loading
 * exits, crashes or hangs ends this process instead. Exit 2: the library does not load at all. */
#include <dlfcn.h>
#include <stdio.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2)
        return 64;
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (library == NULL)
        return 2;
    dlclose(library);
    static const char said[] = "loaded\n";
    if (write(STDOUT_FILENO, said, sizeof said - 1) != (ssize_t)(sizeof said - 1))
        return 1;
    /* No exit handlers: whatever the library registered must not run here. */
    _exit(0);
}
