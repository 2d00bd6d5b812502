#pragma once
// What KIVO committed last into the focused input context, checked against the text the
// program reports before its cursor. The reports come asynchronously and may still describe
// the document as it was a step or two ago, so a report agrees when it matches the document
// as KIVO expects it now or at any recent step. Anything else means other hands changed the
// document, and KIVO must not erase what it did not type.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

class TTypedTail {
public:
    void Committed(std::u32string_view Text);
    // The code point before the cursor was erased (by KIVO; one it typed or not).
    void Erased();
    // BeforeCursor: the program's text before its cursor. False when it contradicts what
    // KIVO expects; what KIVO typed is then forgotten, and the report is the new truth.
    bool Agrees(std::u32string_view BeforeCursor);
    // Nothing before the cursor is known any more (focus out, reset).
    void Forget();
    // How many code points right before the cursor KIVO typed, as far as it knows.
    std::size_t Typed() const { return TypedCount; }
    // The code point right before the cursor when KIVO typed it (Typed() > 0), else 0.
    char32_t LastTyped() const { return TypedCount > 0 && !Expected.Text.empty() ? Expected.Text.back() : 0; }

    // Texts longer than this are compared by their last this many code points only.
    static constexpr std::size_t Longest = 64;

private:
    // What is expected before the cursor: with Reported, the program's last report with
    // KIVO's steps since applied; without, only what KIVO typed (what comes before is unknown).
    // Whole: it is all the text before the cursor, not just its end.
    struct TExpectation {
        std::u32string Text;
        bool Whole = false;
    };
    TExpectation Expected;
    bool Reported = false;
    std::size_t TypedCount = 0;
    // The expectations of earlier steps that the program may not have reported yet.
    std::deque<TExpectation> Unreported;
    // The program's last report, as compared.
    std::optional<std::u32string> LastReport;

    void Step();
    static bool Matches(std::u32string_view Report, bool ReportWhole, const TExpectation& Expectation);
};
