#include "WlrToplevels.h"

#include "wlr-foreign-toplevel-management-unstable-v1-client.h"

#include <algorithm>
#include <wayland-client.h>

namespace {

TWlrToplevels::TToplevel& Of(void* Data) { return *static_cast<TWlrToplevels::TToplevel*>(Data); }

const zwlr_foreign_toplevel_handle_v1_listener HandleListener = {
    .title = [](void* Data, zwlr_foreign_toplevel_handle_v1*, const char* Title) { Of(Data).PendingTitle = Title; },
    .app_id = [](void* Data, zwlr_foreign_toplevel_handle_v1*, const char* AppId) { Of(Data).PendingAppId = AppId; },
    .output_enter = [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
    .output_leave = [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
    .state =
        [](void* Data, zwlr_foreign_toplevel_handle_v1*, wl_array* States) {
            TWlrToplevels::TToplevel& Toplevel = Of(Data);
            Toplevel.PendingMinimized = Toplevel.PendingActivated = false;
            const auto* State = static_cast<const std::uint32_t*>(States->data);
            for (size_t Index = 0; Index < States->size / sizeof(std::uint32_t); ++Index) {
                Toplevel.PendingMinimized |= State[Index] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED;
                Toplevel.PendingActivated |= State[Index] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
            }
            Toplevel.StatePending = true;
        },
    .done = [](void* Data, zwlr_foreign_toplevel_handle_v1*) { Of(Data).Owner->Commit(Of(Data)); },
    .closed = [](void* Data, zwlr_foreign_toplevel_handle_v1*) { Of(Data).Owner->Remove(Of(Data)); },
    .parent = [](void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {},
};

const zwlr_foreign_toplevel_manager_v1_listener ManagerListener = {
    .toplevel = [](void* Data, zwlr_foreign_toplevel_manager_v1*,
                    zwlr_foreign_toplevel_handle_v1* Handle) { static_cast<TWlrToplevels*>(Data)->Add(Handle); },
    .finished = [](void*, zwlr_foreign_toplevel_manager_v1*) {},
};

} // namespace

TWlrToplevels::TWlrToplevels(wl_registry* Registry, std::uint32_t Name, std::uint32_t Version)
{
    Manager = static_cast<zwlr_foreign_toplevel_manager_v1*>(
        wl_registry_bind(Registry, Name, &zwlr_foreign_toplevel_manager_v1_interface, std::min<std::uint32_t>(Version, 3)));
    zwlr_foreign_toplevel_manager_v1_add_listener(Manager, &ManagerListener, this);
}

TWlrToplevels::~TWlrToplevels()
{
    for (const auto& Toplevel : Toplevels)
        zwlr_foreign_toplevel_handle_v1_destroy(Toplevel->Handle);
    // "stop" asks for a "finished" that nobody will read any more; the proxy goes with it.
    zwlr_foreign_toplevel_manager_v1_stop(Manager);
    wl_proxy_destroy(reinterpret_cast<wl_proxy*>(Manager));
}

void TWlrToplevels::Add(zwlr_foreign_toplevel_handle_v1* Handle)
{
    auto Toplevel = std::make_unique<TToplevel>();
    Toplevel->Id = NextId++;
    Toplevel->Handle = Handle;
    Toplevel->Owner = this;
    zwlr_foreign_toplevel_handle_v1_add_listener(Handle, &HandleListener, Toplevel.get());
    Toplevels.push_back(std::move(Toplevel));
}

void TWlrToplevels::Commit(TToplevel& Toplevel)
{
    Toplevel.Title = Toplevel.PendingTitle;
    Toplevel.AppId = Toplevel.PendingAppId;
    if (Toplevel.StatePending) {
        Toplevel.Minimized = Toplevel.PendingMinimized;
        Toplevel.Activated = Toplevel.PendingActivated;
        Toplevel.StatePending = false;
    }
    std::uint32_t Active = 0;
    for (const auto& Each : Toplevels) {
        if (Each->Activated)
            Active = Each->Id;
    }
    if (Active != ActiveId) {
        ActiveId = Active;
        if (OnActiveChanged)
            OnActiveChanged();
    }
}

void TWlrToplevels::Remove(TToplevel& Toplevel)
{
    zwlr_foreign_toplevel_handle_v1_destroy(Toplevel.Handle);
    const bool WasActive = Toplevel.Id == ActiveId;
    std::erase_if(Toplevels, [&](const auto& Each) { return Each.get() == &Toplevel; });
    if (WasActive) {
        ActiveId = 0;
        if (OnActiveChanged)
            OnActiveChanged();
    }
}

std::uint32_t TWlrToplevels::Find(const std::string& Title, const std::string& ClassName) const
{
    std::uint32_t Found = 0;
    for (const auto& Toplevel : Toplevels) {
        if (Toplevel->Title != Title || (!ClassName.empty() && Toplevel->AppId != ClassName))
            continue;
        if (Toplevel->Activated)
            return Toplevel->Id;
        Found = Toplevel->Id;
    }
    return Found;
}

const TWlrToplevels::TToplevel* TWlrToplevels::Get(std::uint32_t Id) const
{
    for (const auto& Toplevel : Toplevels) {
        if (Toplevel->Id == Id)
            return Toplevel.get();
    }
    return nullptr;
}

bool TWlrToplevels::SetMinimized(std::uint32_t Id, bool Minimized)
{
    const TToplevel* Toplevel = Get(Id);
    if (!Toplevel)
        return false;
    if (Minimized)
        zwlr_foreign_toplevel_handle_v1_set_minimized(Toplevel->Handle);
    else
        zwlr_foreign_toplevel_handle_v1_unset_minimized(Toplevel->Handle);
    return true;
}

bool TWlrToplevels::Activate(std::uint32_t Id, wl_seat* Seat)
{
    const TToplevel* Toplevel = Get(Id);
    if (!Toplevel || !Seat)
        return false;
    zwlr_foreign_toplevel_handle_v1_activate(Toplevel->Handle, Seat);
    return true;
}
