#include "InputBackend.h"

namespace {
std::unique_ptr<TInputBackend>& Current()
{
    static std::unique_ptr<TInputBackend> Backend;
    return Backend;
}
} // namespace

std::unique_ptr<TInputBackend> SetInputBackend(std::unique_ptr<TInputBackend> Backend)
{
    Current().swap(Backend);
    return Backend;
}

TInputBackend* CurrentInputBackend() { return Current().get(); }
