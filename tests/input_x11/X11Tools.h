#pragma once
// What the X11 backend's end-to-end tests and the sendkeys benchmark share: their own view of
// the X server, programs they start, layouts and keymaps, and a real X program to type into.
#include "InputBackend.h"
#include "Waiting.h"

#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

// The tests' own view of the X server, on a connection of their own: what is held down, which
// group and locks are active. It observes and sets locks as a user would; it never types.
class TXServerProbe {
public:
    TXServerProbe();
    ~TXServerProbe();
    TXServerProbe(const TXServerProbe&) = delete;
    TXServerProbe& operator=(const TXServerProbe&) = delete;

    // Keycodes the server has down, and the modifiers held (not locked), e.g. "Shift Mod5".
    std::vector<int> KeysDown();
    std::string ModifiersHeld();
    void LockGroup(int Group);
    int ActiveGroup();
    void SetCapsLock(bool On);
    // Num Lock is the modifier that the keymap's NumLock virtual modifier maps to.
    void SetNumLock(bool On);
    // How many keys of the current keymap carry the keysym of a Unicode character.
    int KeysTyping(char32_t Character);
    // Whether the window with the focus is Window or inside it.
    bool FocusIsIn(unsigned long Window);

private:
    struct _XDisplay* Connection = nullptr;
};

// A program a test starts, which does not outlive the test.
class TChildProcess : public QProcess {
public:
    ~TChildProcess() override;
    void Signal(int Number);
};

// setxkbmap with a layout such as "de", "us,gr" or "us:dvorak".
bool SetLayout(const std::string& Layout);
// The server's whole keymap as xkbcomp writes it: equal dumps are equal keymaps.
std::string KeymapDump();

// A real X program to type into: xterm running `cat > FILE` on a raw terminal, so every byte
// that the terminal makes of a key reaches the file unchanged (Tab as 9, Enter as 13, Control+C
// as 3), encoded in UTF-8. Found through GetHandleFromWindowTitle, focused by raising it.
class TXtermTarget {
public:
    // Title is 8-bit (code page 1252 / Latin-1), as the program's titles are.
    explicit TXtermTarget(const std::string& Title);

    // False when the terminal did not come up in time.
    bool Ready() const { return WindowHandle != 0; }
    TWindowId Window() const { return WindowHandle; }
    // True once the input focus is in the terminal.
    bool Focus();
    // Waits until Bytes bytes have arrived (or a timeout), then briefly for any surplus.
    std::string WaitForText(std::size_t Bytes);
    std::string Received() const;

private:
    QTemporaryDir Directory;
    TChildProcess Terminal;
    TWindowId WindowHandle = 0;
    TXServerProbe Server;
};
