#pragma once
// An input method's backend: while it has a program's input context, characters go to that
// program as committed text, which needs no modifiers; otherwise everything goes to the backend
// it wraps (X11, which reaches XWayland programs), which also answers for windows and time.
#include "InputBackend.h"

#include <memory>

class TCommittingInputBackend : public TInputBackend {
public:
    // True while KIVO commits into an input context (not through the wrapped backend).
    virtual bool Committing() const = 0;

    // Line breaks and tabs go as the keys Return and Tab (a program takes those as commands,
    // not as text); every other character is committed.
    bool TypeCharacter(char32_t Character) override;
    std::optional<TModifiers> ModifiersFor(char32_t Character) override;
    TWindowId FindWindow(const std::string& Title, const std::string& ClassName) override;
    bool IsMinimized(TWindowId Window) override;
    bool RestoreWindow(TWindowId Window) override;
    bool RaiseWindow(TWindowId Window) override;
    bool IconifyWindow(TWindowId Window) override;
    std::uint32_t TickCount() override;
    // The wrapped backend may hold its key events back for the whole run.
    void BeginActions() override;
    void EndActions() override;

protected:
    // Commits Character into the input context (only called while Committing).
    virtual void Commit(char32_t Character) = 0;

    explicit TCommittingInputBackend(std::unique_ptr<TInputBackend> Wrapped = {}) : Fallback(std::move(Wrapped)) {}
    std::unique_ptr<TInputBackend> Fallback;
};
