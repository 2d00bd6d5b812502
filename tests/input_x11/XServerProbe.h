#pragma once
// The tests' own view of the X server, on a connection of their own: what is held down, which
// group and locks are active. It observes and sets locks as a user would; it never types.
#include <string>
#include <vector>

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
