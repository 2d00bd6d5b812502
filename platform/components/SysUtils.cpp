#include "SysUtils.h"

#include <QApplication>

namespace {

std::function<void()>& BeepSink()
{
    static std::function<void()> Sink;
    return Sink;
}

} // namespace

void Beep()
{
    if (BeepSink())
        BeepSink()();
    else
        QApplication::beep();
}

void SetBeepSink(std::function<void()> Sink) { BeepSink() = std::move(Sink); }

std::string UpperCase(const std::string& Text)
{
    std::string Result = Text;
    for (char& C : Result) {
        if (C >= 'a' && C <= 'z')
            C = static_cast<char>(C - 'a' + 'A');
    }
    return Result;
}

std::string LowerCase(const std::string& Text)
{
    std::string Result = Text;
    for (char& C : Result) {
        if (C >= 'A' && C <= 'Z')
            C = static_cast<char>(C - 'A' + 'a');
    }
    return Result;
}
