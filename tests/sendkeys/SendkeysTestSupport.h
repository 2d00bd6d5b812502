#pragma once
// What the sender tests share: a fresh recording backend per test, a recorder that marks in
// the backend's log every time the application processes its messages, and the keys of the
// US layout as the sender must send them (virtual key, set-1 scan code).
#include "MessageRecorder.h"
#include "RecordingWindowsCalls.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

struct TKey {
    BYTE VirtualKey = 0;
    BYTE ScanCode = 0;
};

inline constexpr TKey ShiftKey {0x10, 42};
inline constexpr TKey ControlKey {0x11, 0x1D};
inline constexpr TKey AltKey {0x12, 0x38};
inline constexpr TKey AltGrKey {0xA5, 0x38};
inline constexpr TKey BackspaceKey {0x08, 0x0E};
inline constexpr TKey TabKey {0x09, 0x0F};
inline constexpr TKey EnterKey {0x0D, 0x1C};
inline constexpr TKey EscapeKey {0x1B, 0x01};
inline constexpr TKey SpaceKey {0x20, 0x39};
inline constexpr TKey AKey {0x41, 0x1E};
inline constexpr TKey KKey {0x4B, 0x25};
inline constexpr TKey NKey {0x4E, 0x31};
inline constexpr TKey QKey {0x51, 0x10};
inline constexpr TKey SKey {0x53, 0x1F};
inline constexpr TKey VKey {0x56, 0x2F};
inline constexpr TKey XKey {0x58, 0x2D};
inline constexpr TKey Digit0Key {0x30, 0x0B};
inline constexpr TKey Digit1Key {0x31, 0x02};
inline constexpr TKey Digit5Key {0x35, 0x06};
inline constexpr TKey Digit6Key {0x36, 0x07};
inline constexpr TKey Digit9Key {0x39, 0x0A};
inline constexpr TKey MinusKey {0xBD, 0x0C};
inline constexpr TKey GraveKey {0xC0, 0x29};      // ` and ~
inline constexpr TKey BracketLeftKey {0xDB, 0x1A}; // [ and {
inline constexpr TKey BackslashKey {0xDC, 0x2B};
inline constexpr TKey ApostropheKey {0xDE, 0x28};
inline constexpr TKey Numpad1Key {0x61, 0x4F};
inline constexpr TKey NumpadSubtractKey {0x6D, 0x4A};
inline constexpr TKey F1Key {0x70, 0x3B};
inline constexpr TKey F12Key {0x7B, 0x58};
inline constexpr TKey NoKey {0xFF, 0}; // what a character that no key types becomes

inline TInputCall Down(TKey Key) { return KeybdEventCall(Key.VirtualKey, Key.ScanCode, 0); }
inline TInputCall Up(TKey Key) { return KeybdEventCall(Key.VirtualKey, Key.ScanCode, KEYEVENTF_KEYUP); }
inline TInputCall Messages() { return MessagesProcessedCall(); }

// A sequence of calls, from single calls and whole sequences.
class TCalls {
public:
    TCalls() = default;
    TCalls(std::initializer_list<TCalls> Parts)
    {
        for (const auto& Part : Parts)
            List.insert(List.end(), Part.List.begin(), Part.List.end());
    }
    TCalls(TInputCall Call) // NOLINT: a single call is a sequence of one
        : List {std::move(Call)}
    {
    }
    void Append(TInputCall Call) { List.push_back(std::move(Call)); }
    const std::vector<TInputCall>& operator*() const { return List; }

private:
    std::vector<TInputCall> List;
};

// Press and release of Key.
inline TCalls Press(TKey Key) { return {Down(Key), Up(Key)}; }
// Key pressed and released inside Frame, the modifiers pressed in order and released in reverse.
inline TCalls Framed(std::initializer_list<TKey> Frame, TKey Key)
{
    TCalls Result;
    for (const auto& Modifier : Frame)
        Result.Append(Down(Modifier));
    Result.Append(Down(Key));
    Result.Append(Up(Key));
    for (auto Modifier = std::rbegin(Frame); Modifier != std::rend(Frame); ++Modifier)
        Result.Append(Up(*Modifier));
    return Result;
}

// A key string from its codes: Codes({250, '~', 251}).
inline std::string Codes(std::initializer_list<int> List)
{
    std::string Result;
    for (const int Code : List)
        Result.push_back(static_cast<char>(Code));
    return Result;
}

// Every test starts with a fresh recording backend as the current one; tests that watch
// message processing create a TMessageRecorder over it.
class TRecordingTest : public testing::Test {
protected:
    void SetUp() override
    {
        auto Fresh = std::make_unique<TRecordingWindowsCalls>();
        Backend = Fresh.get();
        Previous = SetWindowsCalls(std::move(Fresh));
    }
    void TearDown() override { SetWindowsCalls(std::move(Previous)); }

    std::vector<TInputCall> Felt() const { return Backend->KeyEventsAndMessages(); }

    TRecordingWindowsCalls* Backend = nullptr;

private:
    std::unique_ptr<TWindowsCalls> Previous;
};
