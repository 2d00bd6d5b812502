// main() of the end-to-end tests: QProcess and the timers want an application object, and no
// window is shown, so a core one.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int Argc, char** Argv)
{
    QCoreApplication App(Argc, Argv);
    testing::InitGoogleTest(&Argc, Argv);
    return RUN_ALL_TESTS();
}
