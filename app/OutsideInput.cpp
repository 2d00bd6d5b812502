#include "OutsideInput.h"

#include "DesktopObserver.h"
#include "Language.h"
#include "Unit1.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QSocketNotifier>

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

class TOutsideInputWatch : public QObject {
public:
    TOutsideInputWatch(TForm1* Form, TDesktopObserver& Observer)
        : Form(Form)
        , Observer(Observer)
    {
        Observer.OnForeignActivity = [this] {
            if (this->Form)
                this->Form->Composer.Forget();
        };
        Observer.IsOwnPress = [this](std::uint32_t Time) {
            return std::find(OwnPresses.begin(), OwnPresses.end(), Time) != OwnPresses.end();
        };
        if (Observer.FileDescriptor() >= 0) {
            // The main thread wakes on the observer's connection itself; the toolkit's events
            // take a hop through its reader thread first.
            Readable = std::make_unique<QSocketNotifier>(Observer.FileDescriptor(), QSocketNotifier::Read);
            connect(Readable.get(), &QSocketNotifier::activated, this, [this] {
                // A click processes messages while it types; what comes meanwhile waits for it.
                Readable->setEnabled(false);
                this->Observer.ProcessPending();
                Readable->setEnabled(this->Observer.FileDescriptor() >= 0);
            });
        }
        // Every press that reaches one of KIVO's windows (menus and dialogs included) passes here.
        qApp->installEventFilter(this);
        Form->OnBeforeCompose = [this] { this->Observer.JudgePressesUpTo(LatestOwnPress); };
    }

    ~TOutsideInputWatch() override
    {
        Observer.OnForeignActivity = nullptr;
        Observer.IsOwnPress = nullptr;
        if (Form)
            Form->OnBeforeCompose = nullptr;
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() == QEvent::MouseButtonPress || Event->type() == QEvent::MouseButtonDblClick) {
            // The server's time of the press, as the raw event reports it too.
            const auto Time = static_cast<std::uint32_t>(static_cast<QMouseEvent*>(Event)->timestamp());
            if (Time != LatestOwnPress) {
                OwnPresses[NextOwnPress] = Time;
                NextOwnPress = (NextOwnPress + 1) % OwnPresses.size();
                LatestOwnPress = Time;
            }
        }
        return QObject::eventFilter(Watched, Event);
    }

private:
    QPointer<TForm1> Form;
    TDesktopObserver& Observer;
    std::unique_ptr<QSocketNotifier> Readable;
    std::array<std::uint32_t, 64> OwnPresses {};
    size_t NextOwnPress = 0;
    std::uint32_t LatestOwnPress = 0;
};

} // namespace

std::unique_ptr<QObject> WatchOutsideInput(TForm1* Form, TDesktopObserver& Observer)
{
    if (!Observer.SeesOutsideInput()) {
        ReportToTerminal(QT_TRANSLATE_NOOP("kivo", "outside input cannot be watched; marks are typed as combining marks after the letter"));
        Form->Composer.SetRememberLetters(false);
    }
    return std::make_unique<TOutsideInputWatch>(Form, Observer);
}
