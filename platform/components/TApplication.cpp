#include "TApplication.h"

#include <QApplication>

TApplication* Application = nullptr;

TApplication::TApplication(int& Argc, char** Argv)
    : QtApplication(std::make_unique<QApplication>(Argc, Argv))
{
    Application = this;
}

TApplication::~TApplication()
{
    if (Application == this)
        Application = nullptr;
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(); }
