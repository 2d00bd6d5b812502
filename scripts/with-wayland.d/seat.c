// The test bed's input devices on a headless compositor: a keyboard and a pointer that stay on
// the seat for the whole session (a seat without them gives clients no wl_keyboard/wl_pointer,
// and a keyboard that comes and goes loses the first key), driven by one line per request:
//
//   click X Y | move X Y | key NAME | press NAME | release NAME
//
// NAME is an X keysym name ("a", "Return", "BackSpace", "Shift_L", "A" = Shift+a); keys are looked
// up on the "us" layout, which is what the bed's keyboard carries. Every request is answered
// ("ok" or "error ...") only after the compositor has handled it (a roundtrip).
//
//   seat sway|kwin WIDTH HEIGHT REQUEST_FIFO REPLY_FIFO   hold the devices, serve requests
//   seat lookup NAME                                        print "EVDEV_CODE SHIFT" for NAME
//
// sway: zwlr_virtual_pointer_v1 + zwp_virtual_keyboard_v1. KWin: org_kde_kwin_fake_input.
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <stdbool.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "fake-input-client.h"
#include "virtual-keyboard-v1-client.h"
#include "virtual-pointer-v1-client.h"

static struct xkb_keymap *keymap;

static struct wl_seat *seat;
static struct zwp_virtual_keyboard_manager_v1 *keyboardManager;
static struct zwlr_virtual_pointer_manager_v1 *pointerManager;
static struct org_kde_kwin_fake_input *fakeInput;
static struct zwp_virtual_keyboard_v1 *keyboard;
static struct zwlr_virtual_pointer_v1 *pointer;
static unsigned width, height;

static uint32_t nowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

static bool loadKeymap(void)
{
    struct xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (!context)
        return false;
    const struct xkb_rule_names names = {.rules = "evdev", .model = "pc105", .layout = "us"};
    keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    return keymap != NULL;
}

// The evdev code of the key that gives NAME on the first or second level of the layout.
static bool lookupKey(const char *name, uint32_t *code, bool *shift)
{
    const xkb_keysym_t wanted = xkb_keysym_from_name(name, XKB_KEYSYM_NO_FLAGS);
    if (wanted == XKB_KEY_NoSymbol)
        return false;
    for (xkb_level_index_t level = 0; level < 2; ++level) {
        for (xkb_keycode_t kc = xkb_keymap_min_keycode(keymap); kc <= xkb_keymap_max_keycode(keymap); ++kc) {
            const xkb_keysym_t *syms = NULL;
            const int n = xkb_keymap_key_get_syms_by_level(keymap, kc, 0, level, &syms);
            if (n == 1 && syms[0] == wanted) {
                *code = kc - 8;
                *shift = level == 1;
                return true;
            }
        }
    }
    return false;
}

static void onGlobal(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                     uint32_t version)
{
    (void)data;
    if (getenv("KIVO_WL_SEAT_DEBUG") && *getenv("KIVO_WL_SEAT_DEBUG"))
        fprintf(stderr, "seat: global %s %u\n", interface, version);
    if (strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        keyboardManager = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
    else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        pointerManager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    else if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        fakeInput = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}

static void onGlobalRemove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registryListener = {onGlobal, onGlobalRemove};

static bool uploadKeymap(void)
{
    char *text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    if (!text)
        return false;
    const size_t size = strlen(text) + 1;
    const int fd = memfd_create("kivo-bed-keymap", MFD_CLOEXEC);
    bool ok = fd >= 0 && write(fd, text, size) == (ssize_t)size;
    free(text);
    if (ok)
        zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, (uint32_t)size);
    if (fd >= 0)
        close(fd);
    return ok;
}

static void sendKey(uint32_t code, bool down)
{
    if (keyboard)
        zwp_virtual_keyboard_v1_key(keyboard, nowMs(), code,
                                    down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    else
        org_kde_kwin_fake_input_keyboard_key(fakeInput, code, down ? 1 : 0);
}

static void sendMove(unsigned x, unsigned y)
{
    if (pointer) {
        zwlr_virtual_pointer_v1_motion_absolute(pointer, nowMs(), x, y, width, height);
        zwlr_virtual_pointer_v1_frame(pointer);
    } else {
        org_kde_kwin_fake_input_pointer_motion_absolute(fakeInput, wl_fixed_from_int((int)x),
                                                        wl_fixed_from_int((int)y));
    }
}

static void sendButton(bool down)
{
    if (pointer) {
        zwlr_virtual_pointer_v1_button(pointer, nowMs(), BTN_LEFT,
                                       down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
        zwlr_virtual_pointer_v1_frame(pointer);
    } else {
        org_kde_kwin_fake_input_button(fakeInput, BTN_LEFT, down ? 1 : 0);
    }
}

// Handles one request line; returns the reply.
static const char *handle(char *line, struct wl_display *display)
{
    static char reply[256];
    char verb[16] = "";
    char arg[128] = "";
    unsigned x = 0, y = 0;
    if (sscanf(line, "%15s", verb) != 1)
        return "error empty request";
    if (strcmp(verb, "click") == 0 || strcmp(verb, "move") == 0) {
        if (sscanf(line, "%*s %u %u", &x, &y) != 2 || x >= width || y >= height)
            return "error usage: click|move X Y (inside the screen)";
        sendMove(x, y);
        if (verb[0] == 'c') {
            // Delivered as two events, as a hand would: the target sees the pointer arrive first.
            wl_display_roundtrip(display);
            sendButton(true);
            wl_display_roundtrip(display);
            sendButton(false);
        }
    } else if (strcmp(verb, "key") == 0 || strcmp(verb, "press") == 0 || strcmp(verb, "release") == 0) {
        uint32_t code = 0;
        bool shift = false;
        if (sscanf(line, "%*s %127s", arg) != 1 || !lookupKey(arg, &code, &shift)) {
            snprintf(reply, sizeof reply, "error no key gives \"%s\" on the bed's layout", arg);
            return reply;
        }
        const bool down = verb[0] != 'r';
        const bool up = verb[0] != 'p';
        if (shift && down)
            sendKey(KEY_LEFTSHIFT, true);
        if (down)
            sendKey(code, true);
        if (down && up)
            wl_display_roundtrip(display);
        if (up)
            sendKey(code, false);
        if (shift && up)
            sendKey(KEY_LEFTSHIFT, false);
    } else {
        return "error unknown request (click, move, key, press, release)";
    }
    if (wl_display_roundtrip(display) < 0)
        return "error the compositor closed the connection";
    return "ok";
}

static int serve(const char *mode, const char *requestPath, const char *replyPath)
{
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "seat: cannot connect to the compositor\n");
        return 1;
    }
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, NULL);
    wl_display_roundtrip(display);
    if (!seat) {
        fprintf(stderr, "seat: the compositor offers no wl_seat\n");
        return 1;
    }
    if (strcmp(mode, "sway") == 0) {
        if (!keyboardManager || !pointerManager) {
            fprintf(stderr, "seat: the compositor offers no virtual keyboard or virtual pointer\n");
            return 1;
        }
        keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(keyboardManager, seat);
        if (!uploadKeymap()) {
            fprintf(stderr, "seat: cannot hand the keymap over\n");
            return 1;
        }
        pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(pointerManager, seat);
    } else {
        if (!fakeInput) {
            fprintf(stderr, "seat: the compositor offers no org_kde_kwin_fake_input (version 4)\n");
            return 1;
        }
        org_kde_kwin_fake_input_authenticate(fakeInput, "KIVO test bed", "clicks and keys for tests");
    }
    if (wl_display_roundtrip(display) < 0) {
        fprintf(stderr, "seat: the compositor refused the devices\n");
        return 1;
    }
    // Read and write ends opened by us too, so that neither blocks nor sees end-of-file between
    // clients.
    const int requests = open(requestPath, O_RDWR | O_CLOEXEC);
    if (requests < 0) {
        perror("seat: request fifo");
        return 1;
    }
    printf("ready\n");
    fflush(stdout);

    char buffer[512];
    size_t used = 0;
    for (;;) {
        wl_display_flush(display);
        struct pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0}, {requests, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return 1;
        }
        if (fds[0].revents & (POLLERR | POLLHUP))
            return 0;
        if ((fds[0].revents & POLLIN) && wl_display_dispatch(display) < 0)
            return 0;
        if (!(fds[1].revents & POLLIN))
            continue;
        const ssize_t n = read(requests, buffer + used, sizeof buffer - used - 1);
        if (n <= 0)
            continue;
        used += (size_t)n;
        buffer[used] = '\0';
        char *newline;
        while ((newline = strchr(buffer, '\n')) != NULL) {
            *newline = '\0';
            const char *reply = handle(buffer, display);
            const int out = open(replyPath, O_WRONLY | O_CLOEXEC);
            if (out >= 0) {
                dprintf(out, "%s\n", reply);
                close(out);
            }
            const size_t rest = used - (size_t)(newline + 1 - buffer);
            memmove(buffer, newline + 1, rest + 1);
            used = rest;
        }
        if (used == sizeof buffer - 1)
            used = 0; // a request without an end: dropped rather than blocking the seat
    }
}

int main(int argc, char **argv)
{
    if (!loadKeymap()) {
        fprintf(stderr, "seat: cannot compile the \"us\" keymap\n");
        return 1;
    }
    if (argc == 3 && strcmp(argv[1], "lookup") == 0) {
        uint32_t code;
        bool shift;
        if (!lookupKey(argv[2], &code, &shift)) {
            fprintf(stderr, "seat: no key gives \"%s\" on the bed's layout\n", argv[2]);
            return 1;
        }
        printf("%u %d\n", code, shift ? 1 : 0);
        return 0;
    }
    if (argc == 6 && (strcmp(argv[1], "sway") == 0 || strcmp(argv[1], "kwin") == 0)) {
        width = (unsigned)atoi(argv[2]);
        height = (unsigned)atoi(argv[3]);
        return serve(argv[1], argv[4], argv[5]);
    }
    fprintf(stderr, "usage: seat sway|kwin WIDTH HEIGHT REQUEST_FIFO REPLY_FIFO | seat lookup NAME\n");
    return 2;
}
