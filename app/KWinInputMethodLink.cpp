#include "KWinInputMethodLink.h"

#include "InputBackend.h"
#include "KWinInputMethodBackend.h"
#include "Unit1.h"

#include <QPointer>
#include <QSocketNotifier>

#include <functional>

namespace {

class TKWinInputMethodLink : public QObject {
public:
    TKWinInputMethodLink(TForm1* Form, TKWinInputMethodBackend& Backend)
        : Form(Form)
        , Backend(Backend)
        , Readable(Backend.FileDescriptor(), QSocketNotifier::Read)
    {
        Backend.OnForget = [this] {
            if (this->Form)
                this->Form->Composer.Forget();
        };
        connect(&Readable, &QSocketNotifier::activated, this, [this] {
            if (!this->Backend.ProcessPending())
                Readable.setEnabled(false);
        });
        // What came while the window was being built.
        if (!Backend.ProcessPending())
            Readable.setEnabled(false);
        // A report of the program's text that has arrived but not been read may say the
        // letter before the cursor is no longer KIVO's: read before a click composes.
        Previous = Form->OnBeforeCompose;
        Form->OnBeforeCompose = [this] {
            if (Readable.isEnabled() && !this->Backend.ProcessPending())
                Readable.setEnabled(false);
            if (Previous)
                Previous();
        };
    }

    ~TKWinInputMethodLink() override
    {
        Backend.OnForget = nullptr;
        if (Form)
            Form->OnBeforeCompose = Previous;
    }

private:
    QPointer<TForm1> Form;
    TKWinInputMethodBackend& Backend;
    QSocketNotifier Readable;
    std::function<void()> Previous;
};

} // namespace

std::unique_ptr<QObject> AttachKWinInputMethod(TForm1* Form)
{
    auto* Backend = dynamic_cast<TKWinInputMethodBackend*>(CurrentInputBackend());
    if (!Backend)
        return nullptr;
    return std::make_unique<TKWinInputMethodLink>(Form, *Backend);
}
