#pragma once
// The input backend of wlroots desktops (sway, labwc, Hyprland, river, Wayfire): a virtual
// keyboard (zwp_virtual_keyboard_v1) with a keymap of its own types every character on any
// layout, into native and XWayland programs alike, while the user's keyboard keeps its layout.
// It runs on a Wayland connection of its own, opened before the toolkit. Windows are those the
// compositor lists (zwlr_foreign_toplevel_manager_v1); where it lists none, none are found.
#include "InputBackend.h"
#include "UserText.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class TWlrInputBackend : public TInputBackend {
public:
    // What the desktop behind $WAYLAND_DISPLAY offers, for the choice of backend.
    struct TOffer {
        bool Connected = false;
        bool LayerShell = false;
        bool VirtualKeyboard = false;
    };
    static TOffer Probe();

    // Connects to $WAYLAND_DISPLAY and makes the virtual keyboard. On failure null, and
    // ErrorMessage is one line for the user.
    static std::unique_ptr<TWlrInputBackend> Create(TUserText& ErrorMessage);

    // The desktop's key repeat (delay and interval in milliseconds) as the seat's keyboard
    // announces it; nothing when it repeats no keys or has not said.
    virtual std::optional<std::pair<int, int>> KeyRepeat() const = 0;

    // The connection's descriptor: when it is readable, call ProcessPending.
    virtual int FileDescriptor() const = 0;
    // Reads and handles what the compositor sent; never blocks. False once the connection is
    // gone (the descriptor then stays readable: stop watching it).
    virtual bool ProcessPending() = 0;
    // Called (from ProcessPending) when another window became the active one: whatever KIVO
    // typed before may no longer be before the cursor.
    std::function<void()> OnActiveWindowChanged;
    // Called with the time of each key event KIVO sends, so that its own input is known.
    std::function<void(std::uint32_t Time)> OnOwnKey;
};
