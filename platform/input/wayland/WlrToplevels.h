#pragma once
// The toplevel windows of every program, as a wlroots compositor lists them to any client
// (zwlr_foreign_toplevel_manager_v1): their titles, application ids and states. KIVO finds,
// raises and iconifies windows by title through it, and hears when another window becomes the
// active one. Events arrive on the caller's connection; nothing here dispatches them.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct wl_registry;
struct wl_seat;
struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;

class TWlrToplevels {
public:
    // Binds the manager announced as global Name (the registry's, version Version).
    TWlrToplevels(wl_registry* Registry, std::uint32_t Name, std::uint32_t Version);
    ~TWlrToplevels();
    TWlrToplevels(const TWlrToplevels&) = delete;
    TWlrToplevels& operator=(const TWlrToplevels&) = delete;

    struct TToplevel {
        std::uint32_t Id = 0;
        std::string Title, AppId;
        bool Minimized = false;
        bool Activated = false;
        zwlr_foreign_toplevel_handle_v1* Handle = nullptr;
        // Title, app id and states as sent since the last "done".
        std::string PendingTitle, PendingAppId;
        bool PendingMinimized = false, PendingActivated = false;
        bool StatePending = false;
        TWlrToplevels* Owner = nullptr;
    };

    // A window whose whole title is Title; the list has no stacking order, so the active one
    // wins, then the newest. 0 if none. ClassName, unless empty, must equal the
    // application id.
    std::uint32_t Find(const std::string& Title, const std::string& ClassName) const;
    const TToplevel* Get(std::uint32_t Id) const;
    bool SetMinimized(std::uint32_t Id, bool Minimized);
    bool Activate(std::uint32_t Id, wl_seat* Seat);

    // Called when the active window is another one than before (also: none now, or one now).
    std::function<void()> OnActiveChanged;

    // For the protocol's listeners.
    void Add(zwlr_foreign_toplevel_handle_v1* Handle);
    void Commit(TToplevel& Toplevel);
    void Remove(TToplevel& Toplevel);

private:
    zwlr_foreign_toplevel_manager_v1* Manager = nullptr;
    std::vector<std::unique_ptr<TToplevel>> Toplevels;
    std::uint32_t NextId = 1;
    std::uint32_t ActiveId = 0;
};
