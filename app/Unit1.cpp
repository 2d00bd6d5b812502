#include "Unit1.h"

#include "Abox.h"
#include "Language.h"
#include "ExtraKeys.h"
#include "Sendkey.h"
#include "Sendkeys.h"
#include "TApplication.h"
#include "TSpeedButton.h"
#include "Unit4.h"

#include <QGuiApplication>
#include <QScreen>

TForm1* Form1 = nullptr;

namespace {

// A character key's character as it is typed. The keypad font has no capitals of its own at
// J and V, so the keypad's shifted J and V type the small letters.
char MappedCharacter(char Char)
{
    if (Char == 'J')
        return 'j';
    if (Char == 'V')
        return 'v';
    return Char;
}

// Most runs never open the about and instructions windows, so they are built by their first
// opening rather than at start, as dialogs of the main window: the window manager keeps them
// above it, and they go with it.
template <typename TFormClass>
TFormClass* CreatedOnFirstUse(TFormClass*& Reference, QWidget* Owner)
{
    if (!Reference)
        Reference = new TFormClass(Owner);
    return Reference;
}

QRect ScreenArea()
{
    const QScreen* Primary = QGuiApplication::primaryScreen();
    return Primary ? Primary->geometry() : QRect();
}

} // namespace

TForm1::TForm1(QWidget* Parent)
    : TForm(Parent)
{
    setupUi(this);
    ks1 = new TSendkeys(this);
    ks1->setObjectName(QStringLiteral("ks1"));

    Keyboard1->OnKey = [this](TObject* Sender, char Char) { Keyboard1Key(Sender, Char); };
    Keyboard1->OnSpecialKey = [this](TObject* Sender, TSpecialKey Key) { Keyboard1SpecialKey(Sender, Key); };
    const std::pair<TToolButton*, void (TForm1::*)(TObject*)> Accents[] = {
        { ToolButton1, &TForm1::ToolButton1Click }, { ToolButton2, &TForm1::ToolButton2Click },
        { ToolButton3, &TForm1::ToolButton3Click }, { ToolButton4, &TForm1::ToolButton4Click },
        { ToolButton5, &TForm1::ToolButton5Click }, { ToolButton7, &TForm1::ToolButton7Click },
        { ToolButton8, &TForm1::ToolButton8Click }, { ToolButton9, &TForm1::ToolButton9Click },
        { ToolButton10, &TForm1::ToolButton10Click }, { ToolButton11, &TForm1::ToolButton11Click },
        { ToolButton12, &TForm1::ToolButton12Click }, { ToolButton13, &TForm1::ToolButton13Click },
        { ToolButton14, &TForm1::ToolButton14Click }, { ToolButton15, &TForm1::ToolButton15Click },
    };
    for (const auto& [Button, Handler] : Accents)
        Button->OnClick = [this, Handler](TObject* Sender) { (this->*Handler)(Sender); };
    Button1->OnClick = [this](TObject* Sender) { Button1Click(Sender); };
    Button2->OnClick = [this](TObject* Sender) { Button2Click(Sender); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    BuildOutputMenu();
    ExtraKeys = new TExtraKeys(*this);
    TForm4::AddUnicodeParagraph(&TExtraKeys::Instructions);
}

void TForm1::SendCycle(std::function<void()> Send) { Application->SendWithFocusGivenBack(std::move(Send)); }

void TForm1::FormCreate(TObject*)
{
    const QRect Screen = ScreenArea();
    SetTop(Screen.height() - 230);
    SetLeft(0);
    SetWidth(Screen.width());
    SetHeight(202);
}

void TForm1::Keyboard1Key(TObject*, char Char)
{
    if (Output == omUnicode)
        SendCycle([this, Char] { TypeUnicode(std::string(1, Char)); });
    else
        SendCycle([this, Char] { ks1->SendKeys(std::string(1, MappedCharacter(Char))); });
}

void TForm1::Keyboard1SpecialKey(TObject*, TSpecialKey SpecialKey)
{
    if (Output == omUnicode && SpecialKey == skBackspace) {
        SendCycle([this] {
            if (OnBeforeCompose)
                OnBeforeCompose();
            SendComposed(Composer.Backspace());
        });
        return;
    }
    SendCycle([this, SpecialKey] {
        if (SpecialKey == skBackspace)
            SendKeyString(std::string(1, '\b'));
        if (SpecialKey == skTab)
            SendKeyString(std::string(1, '\t'));
        if (SpecialKey == skEnter)
            SendKeyString(std::string(1, '\r'));
        if (Output == omUnicode && (SpecialKey == skTab || SpecialKey == skEnter)) {
            Composer.Forget();
            if (OnTyped)
                OnTyped();
        }
    });
}

void TForm1::SendAccent(const std::string& Text)
{
    if (Output == omUnicode)
        SendCycle([this, Text] { TypeUnicode(Text); });
    else
        SendCycle([this, Text] { ks1->SendKeys(Text); });
}

void TForm1::ToolButton1Click(TObject*) { SendAccent(";"); }
// Two apostrophes, not one.
void TForm1::ToolButton2Click(TObject*) { SendAccent("''"); }
void TForm1::ToolButton3Click(TObject*) { SendAccent("#"); }
void TForm1::ToolButton4Click(TObject*) { SendAccent("~"); }
void TForm1::ToolButton5Click(TObject*) { SendAccent(":"); }
void TForm1::ToolButton7Click(TObject*) { SendAccent("@"); }
void TForm1::ToolButton8Click(TObject*) { SendAccent("["); }
void TForm1::ToolButton9Click(TObject*) { SendAccent("]"); }
void TForm1::ToolButton10Click(TObject*) { SendAccent("{"); }
void TForm1::ToolButton11Click(TObject*) { SendAccent("}"); }
void TForm1::ToolButton12Click(TObject*) { SendAccent("="); }
void TForm1::ToolButton13Click(TObject*) { SendAccent("/"); }
void TForm1::ToolButton14Click(TObject*) { SendAccent("`"); }
// The button's caption as it is at the moment of the click, whole.
void TForm1::ToolButton15Click(TObject*) { SendAccent(ToolButton15->GetText()); }

void TForm1::Button1Click(TObject*)
{
    TForm2* About = CreatedOnFirstUse(Form2, this);
    // Centred on the screen, not over the main window as Qt places a dialog: the main window
    // lies along the screen's bottom edge. The frame is known once the window has been shown.
    QRect Outer = About->frameGeometry();
    Outer.moveCenter(ScreenArea().center());
    About->move(Outer.topLeft());
    About->exec();
}

void TForm1::Button2Click(TObject*)
{
    TForm4* Instructions = CreatedOnFirstUse(Form4, this);
    Instructions->ShowInstructions(Output);
    // Where it was designed to be on the screen, wherever the main window is.
    Instructions->move(217, 61);
    Instructions->exec();
}

void TForm1::ShowTextsForOutput()
{
    const bool Unicode = Output == omUnicode;
    setWindowTitle(Unicode ? tr("KIVO Polytonic Greek Keyboard") : tr("Lumera On-Screen Keyboard"));
    Label1->setText(Unicode ? tr("KIVO POLYTONIC GREEK KEYBOARD") : tr("LUMERA ON-SCREEN KEYBOARD"));
    // The key's caption stays its code; only what it shows changes.
    if (TSpeedButton* Backspace = Keyboard1->SpecialKeys(BackspaceSlot))
        Backspace->setText(Unicode ? QStringLiteral("\u232B") : QStringLiteral("<"));
}
