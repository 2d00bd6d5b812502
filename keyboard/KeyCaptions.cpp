#include "KeyCaptions.h"

const std::array<const char*, 12> AlphaRow2Captions { "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "-", "=" };
const std::array<const char*, 12> AlphaRow2ShiftedCaptions { "!", "@", "#", "$", "%", "^", "&", "*", "(", ")", "_", "+" };
const std::array<const char*, 12> AlphaRow3Captions { "q", "w", "e", "r", "t", "y", "u", "i", "o", "p", "[", "]" };
const std::array<const char*, 12> AlphaRow3ShiftedCaptions { "Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P", "{", "}" };
const std::array<const char*, 11> AlphaRow4Captions { "a", "s", "d", "f", "g", "h", "j", "k", "l", ";", "'" };
const std::array<const char*, 11> AlphaRow4ShiftedCaptions { "A", "S", "D", "F", "G", "H", "J", "K", "L", ":", "\"" };
const std::array<const char*, 10> AlphaRow5Captions { "z", "x", "c", "v", "b", "n", "m", ",", ".", "/" };
const std::array<const char*, 10> AlphaRow5ShiftedCaptions { "Z", "X", "C", "V", "B", "N", "M", "<", ">", "?" };
const std::array<const char*, 13> FunctionRowCaptions { "Esc", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12" };
const std::array<const char*, 2> CalculatorRow1Captions { "/", "*" };
const std::array<const char*, 3> CalculatorRow2Captions { "7", "8", "9" };
const std::array<const char*, 3> CalculatorRow3Captions { "4", "5", "6" };
const std::array<const char*, 4> CalculatorRow4Captions { "1", "2", "3", "-" };
const std::array<const char*, 2> CalculatorRow5Captions { "0", "." };
const std::array<const char*, 3> NumericRow1Captions { "7", "8", "9" };
const std::array<const char*, 3> NumericRow2Captions { "4", "5", "6" };
const std::array<const char*, 3> NumericRow3Captions { "1", "2", "3" };
const std::array<const char*, 2> NumericRow4Captions { "0", "." };

TCaptionTable AlphaRowCaptions(int Row, bool ShiftActive, bool CapsActive)
{
    const bool Shifted = ShiftActive != CapsActive;
    switch (Row) {
    case 2:
        return Shifted ? TCaptionTable(AlphaRow2ShiftedCaptions) : TCaptionTable(AlphaRow2Captions);
    case 3:
        return Shifted ? TCaptionTable(AlphaRow3ShiftedCaptions) : TCaptionTable(AlphaRow3Captions);
    case 4:
        return Shifted ? TCaptionTable(AlphaRow4ShiftedCaptions) : TCaptionTable(AlphaRow4Captions);
    case 5:
        return Shifted ? TCaptionTable(AlphaRow5ShiftedCaptions) : TCaptionTable(AlphaRow5Captions);
    default:
        return {};
    }
}

TCaptionTable CalculatorRowCaptions(int Row)
{
    switch (Row) {
    case 1:
        return CalculatorRow1Captions;
    case 2:
        return CalculatorRow2Captions;
    case 3:
        return CalculatorRow3Captions;
    case 4:
        return CalculatorRow4Captions;
    case 5:
        return CalculatorRow5Captions;
    default:
        return {};
    }
}

TCaptionTable NumericRowCaptions(int Row)
{
    switch (Row) {
    case 1:
        return NumericRow1Captions;
    case 2:
        return NumericRow2Captions;
    case 3:
        return NumericRow3Captions;
    case 4:
        return NumericRow4Captions;
    default:
        return {};
    }
}

std::optional<TSpecialKey> FunctionKeyOfCaption(const std::string& Caption)
{
    for (std::size_t Entry = 0; Entry < FunctionRowCaptions.size(); ++Entry) {
        if (Caption == FunctionRowCaptions[Entry]) {
            // Entry k (from 1) stands for the value 5 + k: Escape is 6, F12 is 18.
            return static_cast<TSpecialKey>(skEscape + Entry);
        }
    }
    return std::nullopt;
}
