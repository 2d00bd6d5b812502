#pragma once
// The few runtime-library helpers the components use.
#include <functional>
#include <string>

// The system's short default sound.
void Beep();
// Replaces what Beep does (a test records it); an empty sink restores the system sound.
void SetBeepSink(std::function<void()> Sink);

// Case mapping of the ASCII letters only: every other code, those from 128 up included, stays.
std::string UpperCase(const std::string& Text);
std::string LowerCase(const std::string& Text);
