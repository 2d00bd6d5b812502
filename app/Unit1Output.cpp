// The main window's choice of output, and Unicode output itself: what the keys and accent
// buttons type when they type Greek as Unicode characters.
#include "Unit1.h"

#include "ExtraKeys.h"
#include "InputBackend.h"
#include "LumeraGlyphs.h"

#include <QAction>
#include <QActionGroup>

#include <utility>

void TForm1::BuildOutputMenu()
{
    // The window's context menu is its actions, so that others can join them.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* Choices = new QActionGroup(this);
    UnicodeAction = Choices->addAction(tr("Type Unicode Greek"));
    LumeraAction = Choices->addAction(tr("Type Lumera font codes"));
    for (const auto& [Action, Mode] : { std::pair { UnicodeAction, omUnicode }, std::pair { LumeraAction, omLumera } }) {
        Action->setCheckable(true);
        connect(Action, &QAction::triggered, this, [this, Mode = Mode] {
            SetOutputMode(Mode);
            SaveOutputMode(Mode);
        });
        addAction(Action);
    }
    LumeraAction->setChecked(true);
}

void TForm1::SetOutputMode(TOutputMode Mode)
{
    Q_ASSERT(Mode != omAuto);
    Output = Mode;
    (Mode == omUnicode ? UnicodeAction : LumeraAction)->setChecked(true);
    Composer.Forget();
    ExtraKeys->SetUnicodeOutput(Mode == omUnicode);
    // The captions show what the keys type: J, V and W have capitals in Unicode only.
    ShowGlyphsForUnicodeOutput(Mode == omUnicode);
    for (TCaptionButton* Button : findChildren<TCaptionButton*>())
        Button->SetCaption(Button->Caption());
    ShowTextsForOutput();
}

void TForm1::TypeUnicode(const std::string& Codes)
{
    if (OnBeforeCompose)
        OnBeforeCompose();
    TComposerActions Actions;
    auto Append = [&Actions](const TComposerActions& More) { Actions.insert(Actions.end(), More.begin(), More.end()); };
    TGreekMarks Marks = 0;
    for (const char Code : Codes) {
        const auto Byte = static_cast<unsigned char>(Code);
        const char32_t Shown = UnicodeKeyGlyphs[Byte] != 0 ? UnicodeKeyGlyphs[Byte] : char32_t(Byte);
        if (const TGreekMarks OfCode = MarksOfSpacingCharacter(Shown)) {
            Marks |= OfCode;
            continue;
        }
        Append(Composer.ApplyMarks(std::exchange(Marks, 0)));
        Append(Composer.TypeCharacter(Shown));
    }
    Append(Composer.ApplyMarks(Marks));
    SendComposed(Actions);
}

void TForm1::SendComposed(const TComposerActions& Actions)
{
    TInputBackend* Input = CurrentInputBackend();
    if (!Input)
        return;
    TKeyActions Keys;
    for (const TComposerAction& Action : Actions) {
        if (Action.Kind == cakBackSpace) {
            Keys.push_back(PressKey(nkBackSpace));
            Keys.push_back(ReleaseKey(nkBackSpace));
            continue;
        }
        for (const char32_t Character : Action.Text)
            Keys.push_back(TypeCharacterAction(Character));
    }
    Input->Run(Keys, [this](char32_t Character) {
        // What follows in the document is no longer what the composer believes.
        qWarning("Cannot type U+%04X on this keyboard", unsigned(Character));
        Composer.Forget();
    });
    if (OnTyped)
        OnTyped();
}
