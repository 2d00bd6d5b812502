#pragma once
// The application object: owns the QApplication and runs the program's one event loop.
#include <memory>

class QApplication;

class TApplication {
public:
    TApplication(int& Argc, char** Argv);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Handles every event already waiting and returns; other handlers may run inside it.
    void ProcessMessages();

    QApplication& Qt() { return *QtApplication; }

private:
    std::unique_ptr<QApplication> QtApplication;
};

// The process's one application object; null until it is constructed.
extern TApplication* Application;
