#include "UserText.h"

#include <cstdio>

namespace {
TUserTextSink Sink = nullptr;
}

std::string FilledIn(const std::string& Wording, const std::vector<std::string>& Details)
{
    std::string Result;
    for (std::size_t At = 0; At < Wording.size(); ++At) {
        const char Next = At + 1 < Wording.size() ? Wording[At + 1] : '\0';
        const std::size_t Index = std::size_t(Next - '1');
        if (Wording[At] == '%' && Next >= '1' && Next <= '9' && Index < Details.size()) {
            Result += Details[Index];
            ++At;
        } else {
            Result += Wording[At];
        }
    }
    return Result;
}

std::string TUserText::English() const { return Wording ? FilledIn(Wording, Details) : std::string(); }

void SetUserTextSink(TUserTextSink NewSink) { Sink = NewSink; }

void ReportToUser(const TUserText& Text)
{
    if (Sink)
        Sink(Text);
    else
        std::fprintf(stderr, "kivo: %s\n", Text.English().c_str());
}
