// Clicks, through Qt's own mouse dispatch: the events they fire and in which order, the one-shot
// shift, caps lock, the linked control's key events, the beep and the Shift/Caps indicator.
#include "KeyboardTestSupport.h"

#include <QApplication>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {

// A key of the grid by row and column, a special key by its slot.
struct TKeyAt {
    int Row; // 0: a special key
    int ColumnOrSlot;
};
constexpr TKeyAt Slot(int Slot) { return { 0, Slot }; }
constexpr TKeyAt Grid(int Row, int Column) { return { Row, Column }; }

// Click scripts, each from Shift and Caps off back to both off, and the events they fire in order.
TEST_F(KeyboardTest, ClickScriptsFireTheirEventsInOrder)
{
    const struct {
        const char* Name;
        TKbMode Mode;
        std::vector<TKeyAt> Clicks;
        TLog Events;
    } Scripts[] = {
        { "Shift is one-shot and released after the key's event", kbmAlphaNumeric, { Slot(LeftShiftSlot), Grid(3, 1), Grid(3, 1) },
            { "special:2", "shift:on", "key:Q", "shift:off", "key:q" } },
        { "two Shift clicks toggle it, whichever Shift key", kbmAlphaNumeric,
            { Slot(LeftShiftSlot), Slot(LeftShiftSlot), Slot(LeftShiftSlot), Slot(RightShiftSlot) },
            { "special:2", "shift:on", "special:2", "shift:off", "special:2", "shift:on", "special:3", "shift:off" } },
        { "Caps toggles and always reports Shift off; Shift and Caps cancel; Caps ends Shift", kbmAlphaNumeric,
            { Slot(CapsSlot), Grid(4, 1), Slot(RightShiftSlot), Grid(4, 1), Slot(LeftShiftSlot), Slot(CapsSlot) },
            { "special:1", "caps:on", "shift:off", "key:A", "special:3", "shift:on", "key:a", "shift:off", "special:2", "shift:on",
                "special:1", "caps:off", "shift:off" } },
        { "special and character keys fire their own events; digits and signs type what they show", kbmAlphaNumeric,
            { Slot(TabSlot), Slot(EnterSlot), Slot(BackspaceSlot), Slot(SpaceSlot), Grid(2, 1), Grid(5, 10), Slot(LeftShiftSlot),
                Grid(2, 7), Slot(LeftShiftSlot), Slot(TabSlot) },
            { "special:0", "special:4", "special:5", "key: ", "key:1", "key:/", "special:2", "shift:on", "key:&", "shift:off",
                "special:2", "shift:on", "special:0", "shift:off" } },
        { "a function key releases Shift too", kbmAlphaNumericFunction, { Slot(LeftShiftSlot), Grid(1, 5) },
            { "special:2", "shift:on", "special:10", "shift:off" } },
    };
    for (const auto& Script : Scripts) {
        SCOPED_TRACE(Script.Name);
        Keyboard->SetKbMode(Script.Mode);
        for (const TKeyAt Key : Script.Clicks)
            Key.Row ? ClickGrid(Key.Row, Key.ColumnOrSlot) : ClickSlot(Key.ColumnOrSlot);
        EXPECT_EQ(TakeLog(), Script.Events);
        EXPECT_FALSE(Keyboard->ShiftActive());
        EXPECT_FALSE(Keyboard->CapsActive());
    }
}

TEST_F(KeyboardTest, FunctionRowFiresEscapeAndTheFunctionKeys)
{
    Keyboard->SetKbMode(kbmAlphaNumericFunction);
    for (int Column = 1; Column <= 13; ++Column)
        ClickGrid(1, Column);
    TLog Expected;
    for (int Value = skEscape; Value <= skF12; ++Value)
        Expected.push_back("special:" + std::to_string(Value));
    EXPECT_EQ(TakeLog(), Expected);
}

TEST_F(KeyboardTest, WithoutAFunctionRowNoKeyFiresAFunctionKey)
{
    for (TSpeedButton* Key : Keyboard->findChildren<TSpeedButton*>()) {
        if (Key == Keyboard->SpecialKeys(CapsSlot) || Key == Keyboard->SpecialKeys(LeftShiftSlot)
            || Key == Keyboard->SpecialKeys(RightShiftSlot))
            continue;
        Click(Key);
    }
    for (const std::string& Entry : TakeLog()) {
        for (int Value = skEscape; Value <= skF12; ++Value)
            EXPECT_NE(Entry, "special:" + std::to_string(Value));
    }
}

struct TCharCaseCase {
    TEditCharCase CharCase;
    bool Shift;
    bool Caps;
    char Expected; // for the key captioned "q" or "Q"
};

TEST_F(KeyboardTest, CharCaseDecidesTheLetterCaseAndShiftIsStillReleased)
{
    const std::vector<TCharCaseCase> Cases {
        { ecNormal, false, false, 'q' }, { ecNormal, true, false, 'Q' }, { ecNormal, false, true, 'Q' },
        { ecNormal, true, true, 'q' }, { ecUpperCase, false, false, 'Q' }, { ecUpperCase, true, true, 'Q' },
        { ecUpperCase, true, false, 'Q' }, { ecLowerCase, true, false, 'q' }, { ecLowerCase, false, true, 'q' },
        { ecLowerCase, false, false, 'q' },
    };
    for (const TCharCaseCase& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.CharCase) + (Case.Shift ? " shift" : "") + (Case.Caps ? " caps" : ""));
        Keyboard->CharCase = Case.CharCase;
        if (Case.Caps != Keyboard->CapsActive())
            ClickSlot(CapsSlot);
        if (Case.Shift)
            ClickSlot(LeftShiftSlot);
        TakeLog();
        ClickGrid(3, 1);
        TLog Expected { std::string("key:") + Case.Expected };
        if (Case.Shift)
            Expected.push_back("shift:off");
        EXPECT_EQ(TakeLog(), Expected);
        EXPECT_FALSE(Keyboard->ShiftActive());
    }
}

TEST_F(KeyboardTest, BeepSoundsOnceBeforeAnythingElseOnEveryKindOfKey)
{
    Keyboard->BeepOnKeyPressed = true;
    Keyboard->SetKbMode(kbmAlphaNumericFunction);
    ClickSlot(LeftShiftSlot);
    ClickGrid(3, 2);
    ClickSlot(CapsSlot);
    ClickGrid(1, 2);
    ClickSlot(EnterSlot);
    EXPECT_EQ(TakeLog(), (TLog { "beep", "special:2", "shift:on", "beep", "key:W", "shift:off", "beep", "special:1",
                             "caps:on", "shift:off", "beep", "special:7", "beep", "special:4" }));
    Keyboard->BeepOnKeyPressed = false;
    ClickGrid(3, 2);
    EXPECT_EQ(TakeLog(), (TLog { "key:W" }));
}

TEST_F(KeyboardTest, CalculatorAndNumericKeysLeaveAShiftFromTheAlphaNumericModesOn)
{
    ClickSlot(LeftShiftSlot);
    TakeLog();
    Keyboard->SetKbMode(kbmCalculator);
    ClickGrid(2, 1);
    ClickSlot(PlusSlot);
    ClickSlot(EnterSlot);
    ClickSlot(BackspaceSlot);
    Keyboard->SetKbMode(kbmNumeric);
    ClickGrid(4, 2);
    EXPECT_EQ(TakeLog(), (TLog { "key:7", "key:+", "special:4", "special:5", "key:." }));
    EXPECT_TRUE(Keyboard->ShiftActive());
}

// ---- The linked control ----

class LinkedControlTest : public KeyboardTest {
protected:
    void SetUp() override
    {
        KeyboardTest::SetUp();
        Logger = std::make_unique<TKeyEventLogger>(Log);
    }
    void Link(QWidget* Target)
    {
        Target->installEventFilter(Logger.get());
        Keyboard->LinkedControl = Target;
    }
    std::unique_ptr<TKeyEventLogger> Logger;
};

TEST_F(LinkedControlTest, CharactersArriveInALineEditAfterTheirEvents)
{
    QLineEdit Edit;
    Link(&Edit);
    ClickSlot(LeftShiftSlot);
    ClickGrid(3, 3);
    ClickGrid(3, 3);
    ClickSlot(SpaceSlot);
    ClickSlot(LeftShiftSlot);
    ClickGrid(2, 7);
    EXPECT_EQ(Edit.text(), QStringLiteral("Ee &"));
    EXPECT_EQ(TakeLog(), (TLog { "special:2", "shift:on", "key:E", "press:69", "shift:off", "key:e", "press:101",
                             "key: ", "press:32", "special:2", "shift:on", "key:&", "press:38", "shift:off" }));

    ClickSlot(BackspaceSlot);
    EXPECT_EQ(Edit.text(), QStringLiteral("Ee ")); // one character deleted, not two
    ClickSlot(EnterSlot);
    ClickSlot(TabSlot);
    EXPECT_EQ(TakeLog(), (TLog { "special:5", "press:key" + std::to_string(Qt::Key_Backspace), "special:4", "press:13",
                             "special:0", "press:9" }));
}

TEST_F(LinkedControlTest, ShiftCapsAndFunctionKeysPassNothing)
{
    QLineEdit Edit;
    Link(&Edit);
    Keyboard->SetKbMode(kbmAlphaNumericFunction);
    ClickSlot(LeftShiftSlot);
    ClickSlot(CapsSlot);
    for (int Column = 1; Column <= 13; ++Column)
        ClickGrid(1, Column);
    for (const std::string& Entry : TakeLog())
        EXPECT_EQ(Entry.rfind("press:", 0), std::string::npos) << Entry;
    EXPECT_TRUE(Edit.text().isEmpty());
}

TEST_F(LinkedControlTest, ADestroyedLinkedControlIsNoLongerAddressed)
{
    auto Edit = std::make_unique<QLineEdit>();
    Link(Edit.get());
    ClickGrid(3, 1);
    Edit.reset();
    EXPECT_EQ(Keyboard->LinkedControl, nullptr);
    ClickGrid(3, 1);
    ClickSlot(BackspaceSlot);
    EXPECT_EQ(TakeLog(), (TLog { "key:q", "press:113", "key:q", "special:5" }));
}

// ---- The Shift and Caps indicator ----

// The keypad's own colour and font, as a window would give them.
void StyleKeypad(TKeyboard& Keyboard, bool Italic)
{
    QFont KeypadFont(QStringLiteral("DejaVu Sans"));
    KeypadFont.setPixelSize(20);
    KeypadFont.setItalic(Italic);
    Keyboard.setFont(KeypadFont);
    QPalette Colours = Keyboard.palette();
    Colours.setColor(QPalette::ButtonText, QColor(0, 0, 0x80));
    Keyboard.setPalette(Colours);
    Keyboard.HighlightColor = Qt::red;
}

QColor Drawn(const TSpeedButton* Key) { return Key->CaptionColor(); }

TEST_F(KeyboardTest, ActiveShiftAndCapsKeysAreDrawnInTheHighlightColour)
{
    StyleKeypad(*Keyboard, false);
    ClickSlot(RightShiftSlot);
    for (const int Slot : { LeftShiftSlot, RightShiftSlot }) {
        EXPECT_EQ(Drawn(Keyboard->SpecialKeys(Slot)), QColor(Qt::red));
        EXPECT_FALSE(Keyboard->SpecialKeys(Slot)->font().bold()); // no bold indicator asked for
    }
    EXPECT_EQ(Drawn(Keyboard->SpecialKeys(CapsSlot)), QColor(0, 0, 0x80));

    ClickSlot(CapsSlot);
    EXPECT_EQ(Drawn(Keyboard->SpecialKeys(CapsSlot)), QColor(Qt::red));
    EXPECT_EQ(Drawn(Keyboard->SpecialKeys(LeftShiftSlot)), QColor(0, 0, 0x80));
}

TEST_F(KeyboardTest, BoldIndicatorLastsUntilTheNextCharacterKey)
{
    StyleKeypad(*Keyboard, true);
    Keyboard->SetOptions({ BoldShiftIndicator });

    ClickSlot(LeftShiftSlot);
    for (const int Slot : { LeftShiftSlot, RightShiftSlot }) {
        const TSpeedButton* Key = Keyboard->SpecialKeys(Slot);
        EXPECT_TRUE(Key->font().bold());
        EXPECT_EQ(Drawn(Key), QColor(Qt::red));
        EXPECT_EQ(Key->font().family(), QStringLiteral("ms sans serif"));
    }
    EXPECT_FALSE(Keyboard->SpecialKeys(CapsSlot)->font().bold());

    ClickGrid(3, 1);
    for (const int Slot : { LeftShiftSlot, RightShiftSlot }) {
        const TSpeedButton* Key = Keyboard->SpecialKeys(Slot);
        EXPECT_FALSE(Key->font().bold());
        EXPECT_TRUE(Key->font().italic());
        EXPECT_EQ(Drawn(Key), QColor(0, 0, 0x80));
        EXPECT_EQ(Key->font().pixelSize(), 20);
        EXPECT_EQ(Key->font().family(), QStringLiteral("ms sans serif"));
    }
}

// ---- Handlers that fail or rebuild the keypad ----

TEST_F(KeyboardTest, AFailingKeyHandlerStillReleasesShiftAndTheErrorIsReported)
{
    Keyboard->HighlightColor = Qt::red;
    const QColor Normal = Drawn(Keyboard->SpecialKeys(LeftShiftSlot));
    std::vector<std::string> Reported;
    SetExceptionHandler([&](std::exception_ptr Error) {
        try {
            std::rethrow_exception(Error);
        } catch (const std::exception& Caught) {
            Reported.emplace_back(Caught.what());
        }
    });
    const TKeyEvent Logging = Keyboard->OnKey;
    Keyboard->OnKey = [&](TObject* Sender, char Char) {
        Logging(Sender, Char);
        throw std::runtime_error("target gone");
    };

    ClickSlot(LeftShiftSlot);
    EXPECT_EQ(Drawn(Keyboard->SpecialKeys(LeftShiftSlot)), QColor(Qt::red));
    ClickGrid(3, 1);
    SetExceptionHandler({});

    EXPECT_EQ(TakeLog(), (TLog { "special:2", "shift:on", "key:Q", "shift:off" }));
    EXPECT_EQ(Reported, (std::vector<std::string> { "target gone" }));
    EXPECT_FALSE(Keyboard->ShiftActive());
    EXPECT_EQ(Drawn(Keyboard->SpecialKeys(LeftShiftSlot)), Normal);
    EXPECT_EQ(Keyboard->Keys(3, 1)->Caption(), "q");
}

TEST_F(KeyboardTest, AHandlerMayChangeTheModeOfTheKeypadItClicked)
{
    Keyboard->OnKey = [this](TObject*, char Char) {
        Log.push_back(std::string("key:") + Char);
        Keyboard->SetKbMode(kbmNumeric);
    };
    ClickSlot(LeftShiftSlot);
    ClickGrid(3, 1);
    QApplication::processEvents();
    EXPECT_EQ(Keyboard->KeyboardMode(), kbmNumeric);
    EXPECT_EQ(Keyboard->findChildren<TSpeedButton*>().size(), 12u);
    // The shift release is skipped in the numeric mode that the handler chose.
    EXPECT_EQ(TakeLog(), (TLog { "special:2", "shift:on", "key:Q" }));
    ClickGrid(1, 1);
    EXPECT_EQ(TakeLog(), (TLog { "key:7" }));
}

} // namespace

namespace {

// Held past the delay: Backspace repeats, and nothing comes at the release; a short press is one
// Backspace at its release, and a press dragged off it none. Other keys keep one click at the
// release even when Backspace repeats.
TEST_F(KeyboardTest, AHeldBackspaceRepeatsAndOtherKeysDoNot)
{
    Keyboard->BackspaceRepeat = [] { return std::optional<TRepeatTiming>(TRepeatTiming { 60, 15 }); };
    const auto Count = [this] { return std::count(Log.begin(), Log.end(), std::string("special:5")); };
    TSpeedButton* Backspace = Keyboard->SpecialKeys(BackspaceSlot);

    QTest::mousePress(Backspace, Qt::LeftButton);
    EXPECT_TRUE(TakeLog().empty());
    QTest::mouseRelease(Backspace, Qt::LeftButton);
    EXPECT_EQ(TakeLog(), (TLog { "special:5" }));
    QTest::qWait(120);
    EXPECT_TRUE(TakeLog().empty()) << "a short press is one Backspace";

    QTest::mousePress(Backspace, Qt::LeftButton);
    QTest::mouseMove(Backspace, QPoint(-20, -20));
    QTest::mouseRelease(Backspace, Qt::LeftButton, {}, QPoint(-20, -20));
    QTest::qWait(120);
    EXPECT_TRUE(TakeLog().empty()) << "dragged off before the delay";

    QTest::mousePress(Backspace, Qt::LeftButton);
    QTRY_VERIFY(Count() >= 4);
    QTest::mouseRelease(Backspace, Qt::LeftButton);
    const auto Released = Count();
    QTest::qWait(60);
    EXPECT_EQ(Count(), Released) << "nothing at or after the release";

    TakeLog();
    QTest::mousePress(Keyboard->Keys(4, 1), Qt::LeftButton);
    QTest::qWait(120);
    EXPECT_TRUE(TakeLog().empty());
    QTest::mouseRelease(Keyboard->Keys(4, 1), Qt::LeftButton);
    EXPECT_EQ(TakeLog(), (TLog { "key:a" }));
}

} // namespace
