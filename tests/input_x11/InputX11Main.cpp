// main() of the end-to-end tests of the X11 backend: the real backend on the display that
// scripts/with-x started, created before the application object as the program's own main
// does, and a real application object whose messages TSendkeys processes while it types.
#include "InputBackend.h"
#include "TApplication.h"
#include "X11InputBackend.h"

#include <gtest/gtest.h>

#include <cstdio>

int main(int Argc, char** Argv)
{
    testing::InitGoogleTest(&Argc, Argv);
    TUserText Error;
    auto Backend = CreateX11InputBackend(Error);
    if (!Backend) {
        std::fprintf(stderr, "InputX11Tests: %s\n", Error.English().c_str());
        return 1;
    }
    SetInputBackend(std::move(Backend));
    int Result = 0;
    {
        TApplication App(Argc, Argv);
        Result = RUN_ALL_TESTS();
    }
    SetInputBackend(nullptr);
    return Result;
}
