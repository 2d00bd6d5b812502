#pragma once
// The application object: owns the QApplication, the program's windows and its one event loop.
#include <QPointer>
#include <QWidget>

#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QApplication;
class QTimer;
class TForm;

class TApplication {
public:
    TApplication(int& Argc, char** Argv);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Prepares the application object; the first call of a program's main routine.
    void Initialize();

    // Builds a window of the class, stores it in Reference, then raises its create event. The
    // application owns it; the first window so created is the main window.
    template <typename TFormClass>
    void CreateForm(TFormClass*& Reference)
    {
        auto* Form = new TFormClass();
        Reference = Form;
        AdoptForm(Form);
    }
    TForm* MainForm() const { return MainFormValue; }

    // Shows the main window and runs the event loop until it is closed.
    void Run();

    // Handles every event already waiting and returns; other handlers may run inside it.
    void ProcessMessages();

    // Shows the exception's message to the user (and on stderr); OnException, when set, is
    // called instead. Exceptions that escape an event handler come here too.
    void ShowException(const std::exception& Error);
    std::function<void(const std::exception& Error)> OnException;

    // Minimize gives the input focus back to the program the user was typing into. The
    // windows are made never to take the focus, so mostly there is nothing to give back and
    // nothing changes on screen; only when a window of this application does hold the focus
    // are the windows iconified. Restore shows iconified windows again; BringToFront raises
    // the active window, without taking the focus, RaiseDelayMilliseconds later.
    void Minimize();
    void Restore();
    void BringToFront();
    bool Minimized() const { return !MinimizedWindows.empty(); }

    // The send cycle: Minimize, Send, Restore, BringToFront. Where Minimize had windows to
    // iconify, Send waits until the window manager has moved the focus away (at most
    // FocusHandOverMilliseconds; 0 does not wait), without holding up the event loop: sends
    // asked for meanwhile wait their turn, in order, and each has its own cycle.
    void SendWithFocusGivenBack(std::function<void()> Send);
    static constexpr int DefaultFocusHandOverMilliseconds = 500;
    int FocusHandOverMilliseconds = DefaultFocusHandOverMilliseconds;
    static constexpr int RaiseDelayMilliseconds = 2;

    QApplication& Qt() { return *QtApplication; }

private:
    void AdoptForm(TForm* Form);
    void RaiseFront();
    void RunPendingSends();
    void FocusHandedOver();

    std::unique_ptr<QApplication> QtApplication;
    // Owned; destroyed in reverse order of creation, before the QApplication.
    std::vector<std::unique_ptr<TForm>> Forms;
    TForm* MainFormValue = nullptr;
    std::vector<QPointer<QWidget>> MinimizedWindows;
    std::deque<std::function<void()>> PendingSends;
    bool Sending = false;
    bool FocusWaitedFor = false; // the first pending send goes whether or not the focus moved
    QTimer* HandOverTimer = nullptr; // running while a send waits for the focus to move
};

// The process's one application object; null until it is constructed.
extern TApplication* Application;
