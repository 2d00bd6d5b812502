// Clicks, through Qt's own mouse dispatch: the events they fire and in which order, the one-shot
// shift, caps lock, the linked control's key events, the beep and the Shift/Caps indicator.
#include "KeyboardTestSupport.h"

#include <QApplication>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {

// In a click script: the keypad's mode set between two clicks.
constexpr TKeyAt Mode(TKbMode Mode) { return { -1, Mode }; }

// Click scripts, each from Shift and Caps off back to both off, and the events they fire in order.
TEST_F(KeyboardTest, ClickScriptsFireTheirEventsInOrder)
{
    const struct {
        const char* Name;
        TKbMode Mode;
        std::vector<TKeyAt> Clicks;
        TLog Events;
        TEditCharCase CharCase = ecNormal;
        bool Beep = false;
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
        { "the function row fires Escape and F1 to F12, and a function key releases Shift too", kbmAlphaNumericFunction,
            { Grid(1, 1), Grid(1, 2), Grid(1, 3), Grid(1, 4), Slot(LeftShiftSlot), Grid(1, 5), Grid(1, 6), Grid(1, 7),
                Grid(1, 8), Grid(1, 9), Grid(1, 10), Grid(1, 11), Grid(1, 12), Grid(1, 13) },
            { "special:6", "special:7", "special:8", "special:9", "special:2", "shift:on", "special:10", "shift:off",
                "special:11", "special:12", "special:13", "special:14", "special:15", "special:16", "special:17",
                "special:18" } },
        { "the beep sounds once before anything else, on every kind of key", kbmAlphaNumericFunction,
            { Slot(LeftShiftSlot), Grid(3, 2), Slot(CapsSlot), Grid(1, 2), Slot(EnterSlot), Slot(CapsSlot) },
            { "beep", "special:2", "shift:on", "beep", "key:W", "shift:off", "beep", "special:1", "caps:on",
                "shift:off", "beep", "special:7", "beep", "special:4", "beep", "special:1", "caps:off", "shift:off" },
            ecNormal, true },
        // Shift is still released where the case does not follow it.
        { "upper case whatever the states", kbmAlphaNumeric,
            { Grid(3, 1), Slot(LeftShiftSlot), Grid(3, 1), Slot(CapsSlot), Grid(3, 1), Slot(LeftShiftSlot), Grid(3, 1),
                Slot(CapsSlot) },
            { "key:Q", "special:2", "shift:on", "key:Q", "shift:off", "special:1", "caps:on", "shift:off", "key:Q",
                "special:2", "shift:on", "key:Q", "shift:off", "special:1", "caps:off", "shift:off" },
            ecUpperCase },
        { "lower case whatever the states", kbmAlphaNumeric,
            { Slot(LeftShiftSlot), Grid(3, 1), Slot(CapsSlot), Grid(3, 1), Slot(CapsSlot), Grid(3, 1) },
            { "special:2", "shift:on", "key:q", "shift:off", "special:1", "caps:on", "shift:off", "key:q", "special:1",
                "caps:off", "shift:off", "key:q" },
            ecLowerCase },
        { "Shift and Caps survive a mode change, and the captions follow them", kbmAlphaNumeric,
            { Slot(CapsSlot), Slot(LeftShiftSlot), Mode(kbmCalculator), Mode(kbmAlphaNumericFunction), Grid(2, 1),
                Grid(2, 1), Slot(CapsSlot) },
            { "special:1", "caps:on", "shift:off", "special:2", "shift:on", "key:1", "shift:off", "key:!", "special:1",
                "caps:off", "shift:off" } },
        { "calculator and numeric keys leave a Shift from the alphanumeric modes on", kbmAlphaNumeric,
            { Slot(LeftShiftSlot), Mode(kbmCalculator), Grid(2, 1), Slot(PlusSlot), Slot(EnterSlot),
                Slot(BackspaceSlot), Mode(kbmNumeric), Grid(4, 2), Mode(kbmAlphaNumeric), Grid(3, 1) },
            { "special:2", "shift:on", "key:7", "key:+", "special:4", "special:5", "key:.", "key:Q", "shift:off" } },
    };
    for (const auto& Script : Scripts) {
        SCOPED_TRACE(Script.Name);
        Keyboard->SetKbMode(Script.Mode);
        Keyboard->CharCase = Script.CharCase;
        Keyboard->BeepOnKeyPressed = Script.Beep;
        for (const TKeyAt Key : Script.Clicks) {
            if (Key.Row < 0)
                Keyboard->SetKbMode(static_cast<TKbMode>(Key.ColumnOrSlot));
            else
                Click(Key);
        }
        EXPECT_EQ(TakeLog(), Script.Events);
        EXPECT_FALSE(Keyboard->ShiftActive());
        EXPECT_FALSE(Keyboard->CapsActive());
    }
}

// ---- The linked control ----

class LinkedControlTest : public KeyboardTest {
protected:
    void Link(QWidget* Target)
    {
        Target->installEventFilter(&Logger);
        Keyboard->LinkedControl = Target;
    }
    TKeyEventLogger Logger { Log };
};

// Characters, Backspace, Enter and Tab arrive after their events; Shift, Caps and the function
// keys pass nothing.
TEST_F(LinkedControlTest, CharactersArriveInALineEditAfterTheirEvents)
{
    QLineEdit Edit;
    Link(&Edit);
    Click(Slot(LeftShiftSlot));
    Click(Grid(3, 3));
    Click(Grid(3, 3));
    Click(Slot(SpaceSlot));
    Click(Slot(LeftShiftSlot));
    Click(Grid(2, 7));
    EXPECT_EQ(Edit.text(), QStringLiteral("Ee &"));
    EXPECT_EQ(TakeLog(), (TLog { "special:2", "shift:on", "key:E", "press:69", "shift:off", "key:e", "press:101",
                             "key: ", "press:32", "special:2", "shift:on", "key:&", "press:38", "shift:off" }));

    Click(Slot(BackspaceSlot));
    EXPECT_EQ(Edit.text(), QStringLiteral("Ee ")); // one character deleted, not two
    Click(Slot(EnterSlot));
    Click(Slot(TabSlot));
    EXPECT_EQ(TakeLog(), (TLog { "special:5", "press:key" + std::to_string(Qt::Key_Backspace), "special:4", "press:13",
                             "special:0", "press:9" }));

    Keyboard->SetKbMode(kbmAlphaNumericFunction);
    Click(Slot(LeftShiftSlot));
    Click(Slot(CapsSlot));
    TLog Expected { "special:2", "shift:on", "special:1", "caps:on", "shift:off" };
    for (int Column = 1; Column <= 13; ++Column) {
        Click(Grid(1, Column));
        Expected.push_back("special:" + std::to_string(skEscape + Column - 1));
    }
    EXPECT_EQ(TakeLog(), Expected);
    EXPECT_EQ(Edit.text(), QStringLiteral("Ee "));
}

TEST_F(LinkedControlTest, ADestroyedLinkedControlIsNoLongerAddressed)
{
    auto Edit = std::make_unique<QLineEdit>();
    Link(Edit.get());
    Click(Grid(3, 1));
    Edit.reset();
    EXPECT_EQ(Keyboard->LinkedControl, nullptr);
    Click(Grid(3, 1));
    Click(Slot(BackspaceSlot));
    EXPECT_EQ(TakeLog(), (TLog { "key:q", "press:113", "key:q", "special:5" }));
}

// ---- The Shift and Caps indicator ----

// Active Shift and Caps keys are drawn in the highlight colour, and bold only where asked; the
// rest of their face is the keypad's, in every state.
TEST_F(KeyboardTest, ActiveShiftAndCapsKeysAreHighlightedAndBoldOnlyWhereAsked)
{
    QFont KeypadFont(QStringLiteral("DejaVu Sans"));
    KeypadFont.setPixelSize(20);
    KeypadFont.setItalic(true);
    Keyboard->setFont(KeypadFont);
    QPalette Colours = Keyboard->palette();
    Colours.setColor(QPalette::ButtonText, QColor(0, 0, 0x80));
    Keyboard->setPalette(Colours);
    Keyboard->HighlightColor = Qt::red;
    for (const bool Bold : { false, true }) {
        SCOPED_TRACE(Bold ? "bold indicator" : "colour only");
        Keyboard->SetOptions(Bold ? TOptions { BoldShiftIndicator } : TOptions {});
        const auto ExpectShown = [&](std::initializer_list<int> Slots, bool On) {
            for (const int Slot : Slots) {
                const TSpeedButton* Key = Keyboard->SpecialKeys(Slot);
                EXPECT_EQ(Key->CaptionColor(), On ? QColor(Qt::red) : QColor(0, 0, 0x80)) << Slot;
                EXPECT_EQ(Key->font().bold(), On && Bold) << Slot;
                EXPECT_TRUE(Key->font().italic()) << Slot;
                EXPECT_EQ(Key->font().pixelSize(), 20) << Slot;
                EXPECT_EQ(Key->font().family(), QStringLiteral("ms sans serif")) << Slot;
            }
        };
        Click(Slot(RightShiftSlot));
        ExpectShown({ LeftShiftSlot, RightShiftSlot }, true);
        ExpectShown({ CapsSlot }, false);
        Click(Grid(3, 1));
        ExpectShown({ LeftShiftSlot, RightShiftSlot, CapsSlot }, false);
        Click(Slot(LeftShiftSlot));
        Click(Slot(CapsSlot)); // Caps ends Shift
        ExpectShown({ CapsSlot }, true);
        ExpectShown({ LeftShiftSlot, RightShiftSlot }, false);
        Click(Slot(CapsSlot));
    }
}

// ---- Handlers that fail or rebuild the keypad ----

TEST_F(KeyboardTest, AFailingKeyHandlerStillReleasesShiftAndTheErrorIsReported)
{
    Keyboard->HighlightColor = Qt::red;
    const QColor Normal = Keyboard->SpecialKeys(LeftShiftSlot)->CaptionColor();
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

    Click(Slot(LeftShiftSlot));
    EXPECT_EQ(Keyboard->SpecialKeys(LeftShiftSlot)->CaptionColor(), QColor(Qt::red));
    Click(Grid(3, 1));
    SetExceptionHandler({});

    EXPECT_EQ(TakeLog(), (TLog { "special:2", "shift:on", "key:Q", "shift:off" }));
    EXPECT_EQ(Reported, (std::vector<std::string> { "target gone" }));
    EXPECT_FALSE(Keyboard->ShiftActive());
    EXPECT_EQ(Keyboard->SpecialKeys(LeftShiftSlot)->CaptionColor(), Normal);
    EXPECT_EQ(Keyboard->Keys(3, 1)->Caption(), "q");
}

TEST_F(KeyboardTest, AHandlerMayChangeTheModeOfTheKeypadItClicked)
{
    Keyboard->OnKey = [this](TObject*, char Char) {
        Log.push_back(std::string("key:") + Char);
        Keyboard->SetKbMode(kbmNumeric);
    };
    Click(Slot(LeftShiftSlot));
    Click(Grid(3, 1));
    QApplication::processEvents();
    EXPECT_EQ(Keyboard->KeyboardMode(), kbmNumeric);
    EXPECT_EQ(Keyboard->findChildren<TSpeedButton*>().size(), 12u);
    // The shift release is skipped in the numeric mode that the handler chose.
    EXPECT_EQ(TakeLog(), (TLog { "special:2", "shift:on", "key:Q" }));
    Click(Grid(1, 1));
    EXPECT_EQ(TakeLog(), (TLog { "key:7" }));
}

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
    ASSERT_TRUE(QTest::qWaitFor([&] { return Count() >= 4; }));
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
