#include "TypedTail.h"

#include <algorithm>

bool TTypedTail::Matches(std::u32string_view Report, bool ReportWhole, const TExpectation& Expectation)
{
    if (ReportWhole && Expectation.Whole)
        return Report == Expectation.Text;
    // Only the overlap is compared: a program may report just the line it is in, and KIVO
    // keeps only the end of what it expects.
    const std::u32string_view Text = Expectation.Text;
    if (Report.size() < Text.size() && ReportWhole)
        return false;
    if (Text.size() < Report.size() && Expectation.Whole)
        return false;
    const std::size_t Length = std::min(Report.size(), Text.size());
    return Report.substr(Report.size() - Length) == Text.substr(Text.size() - Length);
}

void TTypedTail::Step()
{
    // Without a report, an empty expectation says nothing of the document: it vouches for none.
    if (Reported || !Expected.Text.empty())
        Unreported.push_back(Expected);
    while (Unreported.size() > 8)
        Unreported.pop_front();
}

void TTypedTail::Committed(std::u32string_view Text)
{
    Step();
    Expected.Text += Text;
    if (Expected.Text.size() > Longest) {
        Expected.Text.erase(0, Expected.Text.size() - Longest);
        Expected.Whole = false;
    }
    TypedCount = std::min(TypedCount + Text.size(), Expected.Text.size());
}

void TTypedTail::Erased()
{
    Step();
    if (!Expected.Text.empty())
        Expected.Text.pop_back();
    else
        Forget();
    if (TypedCount > 0)
        --TypedCount;
}

bool TTypedTail::Agrees(std::u32string_view BeforeCursor)
{
    // A report as long as what is kept may be the end of a longer text.
    const bool Whole = BeforeCursor.size() < Longest;
    const std::u32string_view Report = BeforeCursor.substr(BeforeCursor.size() - std::min(BeforeCursor.size(), Longest));
    // The same report again (KWin passes on each state twice or thrice): nothing happened since.
    if (LastReport && *LastReport == Report)
        return true;
    LastReport = std::u32string(Report);
    if (Matches(Report, Whole, Expected)) {
        Expected = { std::u32string(Report), Whole };
        Reported = true;
        Unreported.clear();
        return true;
    }
    // The newest step it matches: the ones before it are reported.
    for (std::size_t Index = Unreported.size(); Index-- > 0;) {
        if (Matches(Report, Whole, Unreported[Index])) {
            Unreported.erase(Unreported.begin(), Unreported.begin() + static_cast<std::ptrdiff_t>(Index) + 1);
            return true;
        }
    }
    Expected = { std::u32string(Report), Whole };
    Reported = true;
    TypedCount = 0;
    Unreported.clear();
    return false;
}

void TTypedTail::Forget()
{
    LastReport.reset();
    Expected = {};
    Reported = false;
    TypedCount = 0;
    Unreported.clear();
}
