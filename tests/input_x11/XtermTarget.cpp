#include "XtermTarget.h"

#include "Sendkeys.h"

#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {
std::string Utf8FromLatin1(const std::string& Text)
{
    std::string Result;
    for (unsigned char Character : Text) {
        if (Character < 0x80) {
            Result += char(Character);
        } else {
            Result += char(0xC0 | (Character >> 6));
            Result += char(0x80 | (Character & 0x3F));
        }
    }
    return Result;
}
} // namespace

TXtermTarget::TXtermTarget(const std::string& Title)
    : TitleText(Title)
{
    char Template[] = "/tmp/kivo-target.XXXXXX";
    Directory = mkdtemp(Template);
    OutputPath = Directory + "/received";
    ReadyPath = Directory + "/ready";
    const std::string Script = "stty raw -echo && : > " + ReadyPath + " && exec cat > " + OutputPath;
    Terminal = std::make_unique<TChildProcess>(
        std::vector<std::string> {"xterm", "-title", Utf8FromLatin1(Title), "-geometry", "80x10", "-e", "sh", "-c", Script},
        std::vector<std::string> {"LANG=C.UTF-8", "LC_ALL=C.UTF-8"}, Directory + "/xterm.log");
    WaitFor([&] {
        WindowHandle = GetHandleFromWindowTitle(Title);
        return WindowHandle != 0 && std::filesystem::exists(ReadyPath);
    });
    if (!std::filesystem::exists(ReadyPath))
        WindowHandle = 0;
}

TXtermTarget::~TXtermTarget()
{
    Terminal.reset();
    std::error_code Ignored;
    std::filesystem::remove_all(Directory, Ignored);
}

bool TXtermTarget::Focus()
{
    // A window manager busy with keymap changes may take its time; ask again until it obliges.
    return WaitFor(
        [&] {
            CurrentInputBackend()->RaiseWindow(WindowHandle);
            return Server.FocusIsIn(WindowHandle);
        },
        std::chrono::seconds(30));
}

std::string TXtermTarget::WaitForText(std::size_t Bytes)
{
    WaitFor([&] {
        std::error_code Missing;
        const auto Size = std::filesystem::file_size(OutputPath, Missing);
        return !Missing && Size >= Bytes;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return Received();
}
