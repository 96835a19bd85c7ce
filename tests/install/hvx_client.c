/* A program of someone else's that uses Halvex32: connects to a device, sends one command and
 * prints the reply. Built against the installed header and pkg-config file. */
#include <halvex32.h>
#include <stdio.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: hvx_client DEVICE COMMAND\n");
        return 2;
    }
    char status[HVX_STATUS_MIN_SIZE];
    char reply[HVX_REPLY_MIN_SIZE];
    if (HVX_ConnectDevice(status, argv[1], 9600) != 1) {
        fprintf(stderr, "connect: %s\n", status);
        return 1;
    }
    const int length = HVX_SendData(status, argv[2], reply, 0);
    printf("%d %s %s\n", length, status, reply);
    HVX_Disconn(status);
    return length > 0 ? 0 : 1;
}
