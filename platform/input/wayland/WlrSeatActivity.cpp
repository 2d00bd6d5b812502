#include "WlrSeatActivity.h"

#include "kde-idle-client.h"

#include <wayland-client.h>

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

std::uint32_t Milliseconds()
{
    timespec Now {};
    clock_gettime(CLOCK_MONOTONIC, &Now);
    return std::uint32_t(Now.tv_sec * 1000 + Now.tv_nsec / 1000000);
}

struct TBinding {
    wl_seat* Seat = nullptr;
    org_kde_kwin_idle* Idle = nullptr;
};

const wl_registry_listener RegistryListener = {
    .global =
        [](void* Data, wl_registry* Registry, std::uint32_t Name, const char* Interface, std::uint32_t) {
            auto& Binding = *static_cast<TBinding*>(Data);
            if (std::strcmp(Interface, "wl_seat") == 0 && !Binding.Seat)
                Binding.Seat = static_cast<wl_seat*>(wl_registry_bind(Registry, Name, &wl_seat_interface, 1));
            else if (std::strcmp(Interface, org_kde_kwin_idle_interface.name) == 0)
                Binding.Idle = static_cast<org_kde_kwin_idle*>(wl_registry_bind(Registry, Name, &org_kde_kwin_idle_interface, 1));
        },
    .global_remove = [](void*, wl_registry*, std::uint32_t) {},
};

const org_kde_kwin_idle_timeout_listener TimeoutListener = {
    .idle = [](void*, org_kde_kwin_idle_timeout*) {},
    .resumed = [](void* Data, org_kde_kwin_idle_timeout*) { static_cast<TWlrSeatActivity*>(Data)->Resumed(); },
};

} // namespace

std::unique_ptr<TWlrSeatActivity> TWlrSeatActivity::Open()
{
    wl_display* Display = wl_display_connect(nullptr);
    if (!Display)
        return nullptr;
    TBinding Binding;
    wl_registry* Registry = wl_display_get_registry(Display);
    wl_registry_add_listener(Registry, &RegistryListener, &Binding);
    wl_display_roundtrip(Display);
    wl_registry_destroy(Registry);
    if (!Binding.Seat || !Binding.Idle) {
        wl_display_disconnect(Display);
        return nullptr;
    }
    std::unique_ptr<TWlrSeatActivity> Activity(new TWlrSeatActivity(Display));
    org_kde_kwin_idle_timeout* Timeout = org_kde_kwin_idle_get_idle_timeout(Binding.Idle, Binding.Seat, 1);
    org_kde_kwin_idle_timeout_add_listener(Timeout, &TimeoutListener, Activity.get());
    if (wl_display_roundtrip(Display) < 0 || pipe(Activity->StopPipe) != 0)
        return nullptr;
    Activity->Reader = std::thread([Raw = Activity.get()] { Raw->Run(); });
    return Activity;
}

TWlrSeatActivity::TWlrSeatActivity(wl_display* Display)
    : Display(Display)
{
}

TWlrSeatActivity::~TWlrSeatActivity()
{
    if (Reader.joinable()) {
        const char Stop = 0;
        [[maybe_unused]] const ssize_t Written = write(StopPipe[1], &Stop, 1);
        Reader.join();
    }
    for (const int End : StopPipe) {
        if (End >= 0)
            close(End);
    }
    // The connection goes with its objects.
    wl_display_disconnect(Display);
}

void TWlrSeatActivity::Run()
{
    for (;;) {
        while (wl_display_prepare_read(Display) != 0) {
            if (wl_display_dispatch_pending(Display) < 0)
                return;
        }
        wl_display_flush(Display);
        pollfd Waiting[] = { { wl_display_get_fd(Display), POLLIN, 0 }, { StopPipe[0], POLLIN, 0 } };
        if (poll(Waiting, 2, -1) < 0 || Waiting[1].revents || (Waiting[0].revents & (POLLERR | POLLHUP))) {
            wl_display_cancel_read(Display);
            return;
        }
        if (wl_display_read_events(Display) < 0 || wl_display_dispatch_pending(Display) < 0)
            return;
    }
}

void TWlrSeatActivity::Resumed()
{
    const std::uint32_t Now = Milliseconds();
    const std::lock_guard Guard(Lock);
    // Nobody asked for a long while: the oldest are of no use any more.
    if (Moments.size() > 4096)
        Moments.erase(Moments.begin(), Moments.begin() + 2048);
    Moments.push_back(Now);
}

std::vector<std::uint32_t> TWlrSeatActivity::Take()
{
    const std::lock_guard Guard(Lock);
    return std::exchange(Moments, {});
}

void TWlrActivityJudge::Own(std::uint32_t Time)
{
    OwnTimes[Next] = Time;
    Next = (Next + 1) % OwnTimes.size();
    Wrapped |= Next == 0;
    if (std::int32_t(Time - Latest) > 0 || Latest == 0)
        Latest = Time;
}

void TWlrActivityJudge::Add(const std::vector<std::uint32_t>& Moments)
{
    Pending.insert(Pending.end(), Moments.begin(), Moments.end());
}

bool TWlrActivityJudge::AnyForeignUpTo(std::uint32_t UpTo)
{
    const size_t Count = Wrapped ? OwnTimes.size() : Next;
    auto IsOwn = [&](std::uint32_t Moment) {
        return std::any_of(OwnTimes.begin(), OwnTimes.begin() + std::ptrdiff_t(Count), [&](std::uint32_t Own) {
            const auto After = std::int32_t(Moment - Own);
            return After >= -LatestOwnAfter && After <= EarliestOwnBefore;
        });
    };
    bool Foreign = false;
    std::erase_if(Pending, [&](std::uint32_t Moment) {
        if (std::int32_t(Moment - UpTo) > 0)
            return false;
        Foreign |= !IsOwn(Moment);
        return true;
    });
    return Foreign;
}
