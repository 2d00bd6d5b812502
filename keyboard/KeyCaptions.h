#pragma once
// The captions of the keypad's grid keys. A key types the first character of its caption, so
// these tables are also the keypad's character tables. The alphanumeric rows follow a US
// typewriter, which is how the keypad font places its Greek letters on the ordinary codes.
//
// Entry k of a table (counted from 1, as the columns are) is the caption of column k: use
// CaptionOf. The function row's entries identify Escape (entry 1) and F1 to F12 (entries 2 to
// 13); they differ from every other caption, since a click is recognised by its caption.
#include "KeyboardTypes.h"

#include <array>
#include <optional>
#include <span>
#include <string>

using TCaptionTable = std::span<const char* const>;

extern const std::array<const char*, 12> AlphaRow2Captions;
extern const std::array<const char*, 12> AlphaRow2ShiftedCaptions;
extern const std::array<const char*, 12> AlphaRow3Captions;
extern const std::array<const char*, 12> AlphaRow3ShiftedCaptions;
extern const std::array<const char*, 11> AlphaRow4Captions;
extern const std::array<const char*, 11> AlphaRow4ShiftedCaptions;
extern const std::array<const char*, 10> AlphaRow5Captions;
extern const std::array<const char*, 10> AlphaRow5ShiftedCaptions;
extern const std::array<const char*, 13> FunctionRowCaptions;
extern const std::array<const char*, 2> CalculatorRow1Captions;
extern const std::array<const char*, 3> CalculatorRow2Captions;
extern const std::array<const char*, 3> CalculatorRow3Captions;
extern const std::array<const char*, 4> CalculatorRow4Captions;
extern const std::array<const char*, 2> CalculatorRow5Captions;
extern const std::array<const char*, 3> NumericRow1Captions;
extern const std::array<const char*, 3> NumericRow2Captions;
extern const std::array<const char*, 3> NumericRow3Captions;
extern const std::array<const char*, 2> NumericRow4Captions;

inline std::string CaptionOf(TCaptionTable Table, int Column) { return Table[static_cast<std::size_t>(Column - 1)]; }

// The alphanumeric table of Row (2 to 5): the shifted one exactly when one of shift and caps
// is on; shift and caps together cancel.
TCaptionTable AlphaRowCaptions(int Row, bool ShiftActive, bool CapsActive);

// The fixed table of Row in the calculator and numeric modes; empty where the row has no keys.
TCaptionTable CalculatorRowCaptions(int Row);
TCaptionTable NumericRowCaptions(int Row);

// The special key a function-row caption stands for, if Caption is one of them (compared as
// exact bytes; the first equal entry wins).
std::optional<TSpecialKey> FunctionKeyOfCaption(const std::string& Caption);
