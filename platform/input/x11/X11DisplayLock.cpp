#include "X11DisplayLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

TX11DisplayLock::TX11DisplayLock(const std::string& DisplayName, const char* Purpose)
{
    const char* Directory = std::getenv("XDG_RUNTIME_DIR");
    std::string Name = DisplayName;
    std::replace(Name.begin(), Name.end(), '/', '_');
    const std::string Path = std::string(Directory && *Directory ? Directory : "/tmp") + "/.kivo-" + Purpose + "-" + Name + ".lock";
    Fd = open(Path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

TX11DisplayLock::~TX11DisplayLock()
{
    if (Fd >= 0)
        close(Fd);
}

bool TX11DisplayLock::Take(std::chrono::milliseconds Patience)
{
    if (Fd < 0 || Taken)
        return Taken;
    const auto Deadline = std::chrono::steady_clock::now() + Patience;
    while (flock(Fd, LOCK_EX | LOCK_NB) != 0) {
        if (std::chrono::steady_clock::now() > Deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    Taken = true;
    return true;
}

bool TX11DisplayLock::TryTake()
{
    if (Fd >= 0 && !Taken && flock(Fd, LOCK_EX | LOCK_NB) == 0)
        Taken = true;
    return Taken;
}

void TX11DisplayLock::Give()
{
    if (Taken)
        flock(Fd, LOCK_UN);
    Taken = false;
}
