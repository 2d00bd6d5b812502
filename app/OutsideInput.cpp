#include "OutsideInput.h"

#include "Unit1.h"
#include "X11ActivityWatcher.h"

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
    TOutsideInputWatch(TForm1* Form, std::unique_ptr<TX11ActivityWatcher> Owned)
        : Form(Form)
        , Watcher(std::move(Owned))
        , Readable(Watcher->FileDescriptor(), QSocketNotifier::Read)
    {
        Watcher->OnForeignActivity = [this] {
            if (this->Form)
                this->Form->Composer.Forget();
        };
        Watcher->IsOwnPress = [this](std::uint32_t Time) {
            return std::find(OwnPresses.begin(), OwnPresses.end(), Time) != OwnPresses.end();
        };
        connect(&Readable, &QSocketNotifier::activated, this, [this] { Watcher->ProcessPending(); });
        // Every press that reaches one of KIVO's windows (menus and dialogs included) passes here.
        qApp->installEventFilter(this);
        Form->OnBeforeCompose = [this] { Watcher->JudgePressesUpTo(LatestOwnPress); };
        Form->OnTyped = [this] { Watcher->ClaimOwnKeys(); };
    }

    ~TOutsideInputWatch() override
    {
        if (Form) {
            Form->OnBeforeCompose = nullptr;
            Form->OnTyped = nullptr;
        }
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
    std::unique_ptr<TX11ActivityWatcher> Watcher;
    QSocketNotifier Readable;
    std::array<std::uint32_t, 64> OwnPresses {};
    size_t NextOwnPress = 0;
    std::uint32_t LatestOwnPress = 0;
};

} // namespace

std::unique_ptr<QObject> WatchOutsideInput(TForm1* Form)
{
    std::string ErrorMessage;
    std::unique_ptr<TX11ActivityWatcher> Watcher = TX11ActivityWatcher::Create(ErrorMessage);
    if (!Watcher) {
        std::fprintf(stderr, "kivo: %s; marks are typed as combining marks after the letter\n", ErrorMessage.c_str());
        Form->Composer.SetRememberLetters(false);
        return nullptr;
    }
    return std::make_unique<TOutsideInputWatch>(Form, std::move(Watcher));
}
