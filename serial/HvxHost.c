#include "serial/HvxInternal.h"
#include "serial/halvex32.h"

#include <string.h>

static HVX_BeepFn g_beep;
static HVX_BusyCursorFn g_busyCursor;
static void* g_context;

void HVX_SetHostCallbacks(HVX_BeepFn beep, HVX_BusyCursorFn busyCursor, void* context) {
    g_beep = beep;
    g_busyCursor = busyCursor;
    g_context = context;
}

void hvxSetStatus(char* status, const char* text) {
    if (status)
        memcpy(status, text, strlen(text) + 1);
}

void hvxBeep(void) {
    if (g_beep)
        g_beep(g_context);
}

void hvxBusy(int busy) {
    if (g_busyCursor)
        g_busyCursor(g_context, busy);
}
