#include "TApplication.h"

#include "TForm.h"

#include <QApplication>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTimer>
#include <QWindow>

#include <cstdio>

TApplication* Application = nullptr;

namespace {

// Qt does not let an exception pass through its event loop. The controls report what their
// handlers throw themselves (HandleException); anything else that escapes an event handler is
// caught here as a last resort, shown, and the program goes on.
class TQtApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* Receiver, QEvent* Event) override
    {
        try {
            return QApplication::notify(Receiver, Event);
        } catch (const std::exception& Error) {
            if (Application)
                Application->ShowException(Error);
            return false;
        }
    }
};

} // namespace

TApplication::TApplication(int& Argc, char** Argv)
    : QtApplication(std::make_unique<TQtApplication>(Argc, Argv))
    , HandOverTimer(new QTimer(QtApplication.get()))
{
    Application = this;
    HandOverTimer->setSingleShot(true);
    QObject::connect(HandOverTimer, &QTimer::timeout, QtApplication.get(), [this] { FocusHandedOver(); });
    // Queued: the focus may move inside Minimize itself, and the sends go on from the loop.
    QObject::connect(QtApplication.get(), &QGuiApplication::focusWindowChanged, QtApplication.get(), [this] {
        if (!QGuiApplication::focusWindow() && HandOverTimer->isActive())
            FocusHandedOver();
    }, Qt::QueuedConnection);
}

TApplication::~TApplication()
{
    while (!Forms.empty())
        Forms.pop_back();
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize() { QApplication::setQuitOnLastWindowClosed(false); }

void TApplication::AdoptForm(TForm* Form)
{
    Forms.emplace_back(Form);
    if (!MainFormValue)
        MainFormValue = Form;
    Form->DoCreate();
}

void TApplication::Run()
{
    if (!MainFormValue)
        return;
    // The loop ends when the main window closes, whatever other windows are still open.
    class TCloseWatcher : public QObject {
    public:
        bool eventFilter(QObject*, QEvent* Event) override
        {
            if (Event->type() == QEvent::Close && Event->isAccepted())
                QCoreApplication::quit();
            return false;
        }
    } Watcher;
    MainFormValue->installEventFilter(&Watcher);
    MainFormValue->show();
    QApplication::exec();
    MainFormValue->removeEventFilter(&Watcher);
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(); }

void TApplication::ShowException(const std::exception& Error)
{
    if (OnException) {
        OnException(Error);
        return;
    }
    std::fprintf(stderr, "%s\n", Error.what());
    std::fflush(stderr);
    QMessageBox::critical(nullptr, QString(), QString::fromLocal8Bit(Error.what()));
}

void TApplication::Minimize()
{
    if (!QGuiApplication::focusWindow())
        return;
    for (QWidget* Window : QApplication::topLevelWidgets()) {
        if (Window->isVisible() && !Window->isMinimized()) {
            MinimizedWindows.push_back(Window);
            Window->showMinimized();
        }
    }
}

void TApplication::SendWithFocusGivenBack(std::function<void()> Send)
{
    PendingSends.push_back(std::move(Send));
    if (!HandOverTimer->isActive())
        RunPendingSends();
}

void TApplication::RunPendingSends()
{
    while (!PendingSends.empty() && !Sending) {
        if (!FocusWaitedFor && QGuiApplication::focusWindow()) {
            Minimize();
            if (FocusHandOverMilliseconds > 0 && QGuiApplication::focusWindow()) {
                HandOverTimer->start(FocusHandOverMilliseconds);
                return;
            }
        }
        FocusWaitedFor = false;
        const std::function<void()> Send = std::move(PendingSends.front());
        PendingSends.pop_front();
        Sending = true;
        const auto Done = qScopeGuard([this] {
            Sending = false;
            Restore();
            BringToFront();
            // After a send that threw, the rest go on from the loop once the error is shown.
            if (std::uncaught_exceptions() && !PendingSends.empty())
                QTimer::singleShot(0, QtApplication.get(), [this] { RunPendingSends(); });
        });
        Send();
    }
}

void TApplication::FocusHandedOver()
{
    HandOverTimer->stop();
    FocusWaitedFor = true;
    RunPendingSends();
}

void TApplication::Restore()
{
    std::vector<QPointer<QWidget>> Windows;
    Windows.swap(MinimizedWindows);
    for (const QPointer<QWidget>& Window : Windows) {
        if (Window)
            Window->showNormal();
    }
}

void TApplication::BringToFront()
{
    // A raise makes the window manager restack and redraw. Right after a keystroke that work
    // would compete with the program handling the key for the processor, so it waits a moment.
    QTimer::singleShot(RaiseDelayMilliseconds, Qt::PreciseTimer, QtApplication.get(), [this] { RaiseFront(); });
}

void TApplication::RaiseFront()
{
    QWidget* Front = QApplication::activeModalWidget();
    if (!Front)
        Front = QApplication::activeWindow();
    if (!Front)
        Front = MainFormValue;
    if (Front && Front->isVisible())
        Front->raise();
}
