#pragma once
// What the sender tests share: a fresh recording backend per test (a US keyboard), key strings
// written by their codes, and the cases of the key-action lists.
#include "MessageRecorder.h"
#include "RecordingInputBackend.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// A key string from its codes: Codes({250, '~', 251}).
inline std::string Codes(std::initializer_list<int> List) { return std::string(List.begin(), List.end()); }

// A key string, the key actions it becomes as text, and the layout's answers that differ from
// a US keyboard's.
struct TSequenceCase {
    const char* Name;
    std::string Keys;
    std::string Expected;
    std::vector<std::pair<char32_t, std::optional<TModifiers>>> Layout {};
};

inline std::string CaseName(const testing::TestParamInfo<TSequenceCase>& Info) { return Info.param.Name; }
inline void PrintTo(const TSequenceCase& Case, std::ostream* Stream) { *Stream << Case.Name; }

// Every test starts with a fresh recording backend as the current one; tests that watch
// message processing create a TMessageRecorder over it.
class TRecordingTest : public testing::Test {
protected:
    void SetUp() override
    {
        auto Fresh = std::make_unique<TRecordingInputBackend>();
        Backend = Fresh.get();
        Previous = SetInputBackend(std::move(Fresh));
    }
    void TearDown() override { SetInputBackend(std::move(Previous)); }

    TRecordingInputBackend* Backend = nullptr;

private:
    std::unique_ptr<TInputBackend> Previous;
};
