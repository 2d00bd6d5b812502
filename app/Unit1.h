#pragma once
// The main window: the banner row with the about and instructions buttons, the keypad and the
// accent toolbar. Every key and accent clicked is typed into the program the user was typing
// into, through the send cycle: minimize the application, send, restore it, bring it to the
// front (see TApplication::Minimize for what that does on screen).
#include "GreekComposer.h"
#include "KeyboardTypes.h"
#include "OutputMode.h"
#include "TForm.h"
#include "ui_Unit1.h"

#include <functional>
#include <string>

class QAction;
class TExtraKeys;
class TSendkeys;

class TForm1 : public TForm, public Ui::TForm1 {
    Q_OBJECT

public:
    explicit TForm1(QWidget* Parent = nullptr);

    // The send-keys component; owned by the window.
    TSendkeys* ks1 = nullptr;

    void Keyboard1Key(TObject* Sender, char Char);
    void Keyboard1SpecialKey(TObject* Sender, TSpecialKey SpecialKey);
    void ToolButton1Click(TObject* Sender);
    void ToolButton2Click(TObject* Sender);
    void ToolButton3Click(TObject* Sender);
    void ToolButton4Click(TObject* Sender);
    void ToolButton5Click(TObject* Sender);
    void ToolButton7Click(TObject* Sender);
    void ToolButton8Click(TObject* Sender);
    void ToolButton9Click(TObject* Sender);
    void ToolButton10Click(TObject* Sender);
    void ToolButton11Click(TObject* Sender);
    void ToolButton12Click(TObject* Sender);
    void ToolButton13Click(TObject* Sender);
    void ToolButton14Click(TObject* Sender);
    void ToolButton15Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void FormCreate(TObject* Sender);

    // What the keys type: omLumera (the keypad font's codes) or omUnicode. The window's menu
    // (a right-click anywhere on it) changes it too, and remembers the choice.
    void SetOutputMode(TOutputMode Mode);
    TOutputMode OutputMode() const { return Output; }

    // Unicode output composes a mark with the letter typed before it, so it must hear of
    // anything else that reached the document: Composer.Forget() says so. OnBeforeCompose runs
    // before each composing click (to catch up with outside input), OnTyped after KIVO typed.
    TGreekComposer Composer;
    std::function<void()> OnBeforeCompose;
    std::function<void()> OnTyped;

    // The title, the banner and the Backspace key say what the output in force types: the
    // keypad font's codes keep their first texts, Unicode output speaks of KIVO.
    void ShowTextsForOutput();

    // Unicode output's extra keys (ExtraKeys.cpp), and the send cycle they type through.
    TExtraKeys* ExtraKeys = nullptr;
    void TypeComposed(const std::function<TComposerActions(TGreekComposer&)>& Compose);

private:
    // Minimize, Send, Restore, BringToFront; after the sends already waiting, if any. The
    // window comes back even if Send fails. Send runs later or at once: it keeps no references.
    void SendCycle(std::function<void()> Send);
    void SendAccent(const std::string& Text);
    void BuildOutputMenu();
    // Unicode output of a key's or button's codes: letters and other characters as what the
    // keys show, mark codes as marks (consecutive ones as one click of those marks).
    void TypeUnicode(const std::string& Codes);
    void SendComposed(const TComposerActions& Actions);

    TOutputMode Output = omLumera;
    QAction* UnicodeAction = nullptr;
    QAction* LumeraAction = nullptr;
};

extern TForm1* Form1;
