#pragma once
// TKeyboard: a panel of push buttons laid out as a keyboard, in one of four key sets, that
// reports every clicked key through its events. It keeps a one-shot shift state (off again after
// the next key) and a caps-lock state, shows the captions for them, and can pass the characters
// straight to a linked control as window messages. It types nothing itself.
#include "KeyCaptions.h"
#include "KeyLayout.h"
#include "KeyboardTypes.h"
#include "KeypadState.h"
#include "TCaptionButton.h"
#include "TColor.h"
#include "TPanel.h"

#include <QPointer>

#include <array>
#include <functional>
#include <optional>

class TSpeedButton;

class TKeyboard : public TPanel {
    Q_OBJECT
    Q_PROPERTY(TKbMode KeyboardMode READ KeyboardMode WRITE SetKbMode)
    Q_PROPERTY(QColor HighlightColor MEMBER HighlightColor)

public:
    // A window description names the mode as TKeyboard::kbmAlphaNumeric.
    using enum TKbMode;

    explicit TKeyboard(QWidget* Owner = nullptr);

    TKbMode KeyboardMode() const { return KeyboardModeValue; }
    // Rebuilds every key, also for the mode the keypad already has.
    void SetKbMode(TKbMode Mode);
    bool FlatKeys() const { return FlatKeysValue; }
    void SetFlatKeys(bool Flat);
    TOptions Options() const { return OptionsValue; }
    void SetOptions(TOptions Options);

    // Plain settings, read at the next click (or, for HighlightColor, the next shift or caps
    // change): setting them changes nothing on screen.
    TEditCharCase CharCase = ecNormal;
    TColor HighlightColor = clBlack;
    bool BeepOnKeyPressed = false;
    // The control that receives WM_CHAR and WM_KEYDOWN for the clicked keys. Watched: it may be
    // destroyed while it is linked, and then nothing is passed.
    QPointer<QWidget> LinkedControl;

    // Asked at every press of a Backspace key: while it answers, a held Backspace repeats its
    // click with that timing, as a physical key does (see TClickTiming::RepeatTiming). Unset,
    // every key clicks once.
    std::function<std::optional<TRepeatTiming>()> BackspaceRepeat;

    TKeyEvent OnKey;
    TSpecialKeyEvent OnSpecialKey;
    TShiftStateChange OnShiftStateChange;
    TCapsStateChange OnCapsStateChange;

    bool ShiftActive() const { return State.ShiftActive; }
    bool CapsActive() const { return State.CapsActive; }

    // The key in grid cell (Row 1-5, Column 1-20) or special-key slot (0-7); null where the
    // current key set has none. Keys are replaced by a mode change: hold none across one.
    TSpeedButton* Keys(int Row, int Column) const;
    TSpeedButton* SpecialKeys(int Slot) const;

    // Destroys every key and builds the key set of the current mode.
    void CreateKeys();
    // Applies FlatKeys and the disable and hide options to the present keys, in both directions.
    void RefreshKeysAspect();
    // Draws the Shift and Caps keys for the current states and re-captions the keys.
    void RefreshShift();

protected:
    void Resize() override;

private:
    void CreateAlphaNumericKeys();
    void CreateCalculatorKeys();
    void CreateNumericKeys();
    TSpeedButton* CreateGridKey(int Row, int Column, const std::string& Caption);
    TSpeedButton* CreateSpecialKey(int Slot, const std::string& Caption);
    void DestroyKey(TSpeedButton*& Key);
    void SetKeyCaptions();

    void ResizeAlphaNumericKeys();
    void ResizeCalculatorKeys();
    void ResizeNumericKeys();
    TKeyMetrics CurrentMetrics() const;

    void DispatchClick(void (TKeyboard::*Handler)(TObject*), TObject* Sender);
    void ShiftClick(TObject* Sender);
    void CapsClick(TObject* Sender);
    void KeyClick(TObject* Sender);
    void PressKey(TObject* Sender);
    void ReleaseShift();
    bool IsAlphaNumericMode() const;

    // The special keys of the alphanumeric modes in the face of their own, or also bold.
    void ShowSpecialKeyFace(TSpeedButton* Key, bool Bold = false) const;

    // The face of the special keys' captions in the alphanumeric modes, whatever the keypad's font.
    static constexpr const char* SpecialKeyFace = "ms sans serif";

    TKbMode KeyboardModeValue = kbmAlphaNumeric;
    bool FlatKeysValue = false;
    TOptions OptionsValue;
    TKeypadState State;
    std::array<std::array<TSpeedButton*, KeyColumnCount>, KeyRowCount> KeyGrid {};
    std::array<TSpeedButton*, SpecialKeySlotCount> SpecialKeySlots {};
    // The key whose click is being handled: a handler that changes the mode must not destroy
    // it under Qt's click dispatch.
    TSpeedButton* KeyInClick = nullptr;
};
