// main() of every unit-test executable: a real application object on Qt's offscreen platform,
// so widgets are created, laid out, painted and clicked without any X server.
#include "TApplication.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int Argc, char** Argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testing::InitGoogleTest(&Argc, Argv);
    TApplication App(Argc, Argv);
    return RUN_ALL_TESTS();
}
