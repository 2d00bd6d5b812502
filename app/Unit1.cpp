#include "Unit1.h"

#include "Abox.h"
#include "ExtraKeys.h"
#include "Sendkey.h"
#include "Sendkeys.h"
#include "TApplication.h"
#include "TScreen.h"
#include "Unit4.h"

#include <QVariant>

#include <algorithm>
#include <iterator>

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
// opening rather than at start; the application owns them from then on, as if built at start.
template <typename TFormClass>
TFormClass* CreatedOnFirstUse(TFormClass*& Reference)
{
    if (!Reference)
        Application->CreateForm(Reference);
    return Reference;
}

} // namespace

TForm1::TForm1(QWidget* Parent)
    : TForm(Parent)
{
    setupUi(this);
    ks1 = new TSendkeys(this);
    ks1->setObjectName(QStringLiteral("ks1"));
    LoadKeyboardSettings();
    Loaded();

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
}

void TForm1::LoadKeyboardSettings()
{
    const QString Mode = Keyboard1->property("KeyboardMode").toString();
    const char* const ModeNames[] = { "kbmAlphaNumeric", "kbmAlphaNumericFunction", "kbmCalculator", "kbmNumeric" };
    // The keypad already holds the alphanumeric set; a rebuild into the same mode would only
    // build every key a second time.
    for (int Index = 0; Index < 4; ++Index) {
        if (Mode == QLatin1String(ModeNames[Index]) && Keyboard1->KeyboardMode() != static_cast<TKbMode>(Index))
            Keyboard1->SetKbMode(static_cast<TKbMode>(Index));
    }
    TColor Highlight = clBlack;
    if (const QVariant Stored = Keyboard1->property("HighlightColor"); Stored.isValid() && ReadStoredColor(Stored, Highlight))
        Keyboard1->HighlightColor = Highlight;
    // The option set: item names separated by commas, in the order of their bits.
    const char* const OptionNames[] = { "DisableTab", "DisableCaps", "DisableLeftShift", "DisableRightShift",
        "DisableSpace", "DisableEnter", "DisableBackspace", "DisableEscape", "HideTab", "HideCaps", "HideLeftShift",
        "HideRightShift", "HideSpace", "HideEnter", "HideBackspace", "HideEscape", "BoldShiftIndicator" };
    TOptions Options;
    for (const QString& Item : Keyboard1->property("Options").toString().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto Found = std::find_if(std::begin(OptionNames), std::end(OptionNames),
            [&](const char* Name) { return Item.trimmed() == QLatin1String(Name); });
        if (Found == std::end(OptionNames))
            qWarning("Unknown keypad option '%s'", qPrintable(Item));
        else
            Options.Include(static_cast<TOptionItems>(Found - std::begin(OptionNames)));
    }
    Keyboard1->SetOptions(Options);
}

void TForm1::SendCycle(const std::function<void()>& Send)
{
    Application->Minimize();
    struct TRestore {
        ~TRestore()
        {
            Application->Restore();
            Application->BringToFront();
        }
    } Restore;
    Send();
}

void TForm1::FormCreate(TObject*)
{
    SetTop(Screen->Height() - 230);
    SetLeft(0);
    SetWidth(Screen->Width());
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
        SendCycle([this, &Text] { TypeUnicode(Text); });
    else
        SendCycle([this, &Text] { ks1->SendKeys(Text); });
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

void TForm1::Button1Click(TObject*) { CreatedOnFirstUse(Form2)->ShowModal(); }

void TForm1::Button2Click(TObject*) { CreatedOnFirstUse(Form4)->ShowModal(); }
