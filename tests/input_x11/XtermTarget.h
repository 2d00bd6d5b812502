#pragma once
// A real X program to type into: xterm running `cat > FILE` on a raw terminal, so every byte
// that the terminal makes of a key reaches the file unchanged (Tab as 9, Enter as 13, Control+C
// as 3), encoded in UTF-8. Found through GetHandleFromWindowTitle, focused by raising it.
#include "ChildProcess.h"
#include "XServerProbe.h"
#include "InputBackend.h"

#include <memory>
#include <string>

class TXtermTarget {
public:
    // Title is 8-bit (code page 1252 / Latin-1), as the program's titles are.
    explicit TXtermTarget(const std::string& Title);
    ~TXtermTarget();

    // False when the terminal did not come up in time.
    bool Ready() const { return WindowHandle != 0; }
    TWindowId Window() const { return WindowHandle; }
    const std::string& Title() const { return TitleText; }
    // True once the input focus is in the terminal.
    bool Focus();
    // Waits until Bytes bytes have arrived (or a timeout), then briefly for any surplus.
    std::string WaitForText(std::size_t Bytes);
    std::string Received() const { return ReadWholeFile(OutputPath); }

private:
    std::string TitleText;
    std::string Directory;
    std::string OutputPath;
    std::string ReadyPath;
    std::unique_ptr<TChildProcess> Terminal;
    TWindowId WindowHandle = 0;
    TXServerProbe Server;
};
