// The main window's choice of output: its menu, what the keys show in each mode, and that
// the window's own texts never change with it.
#include "AppTestSupport.h"

#include "Keyboard.h"
#include "TSpeedButton.h"
#include "TToolButton.h"

#include <QAction>
#include <QTest>

namespace {

QAction* MenuAction(TForm1& Form, const char* Text)
{
    for (QAction* Action : Form.actions()) {
        if (Action->text() == QLatin1String(Text))
            return Action;
    }
    return nullptr;
}

} // namespace

TEST_F(TAppTest, TheWindowsMenuChoosesAndRemembersTheOutput)
{
    ASSERT_EQ(MainForm->contextMenuPolicy(), Qt::ActionsContextMenu);
    QAction* Unicode = MenuAction(*MainForm, "Type Unicode Greek");
    QAction* Lumera = MenuAction(*MainForm, "Type Lumera font codes");
    ASSERT_TRUE(Unicode && Lumera);
    EXPECT_TRUE(Lumera->isChecked());
    for (const auto& [Action, Mode] : { std::pair { Unicode, omUnicode }, std::pair { Lumera, omLumera } }) {
        Action->trigger();
        EXPECT_EQ(MainForm->OutputMode(), Mode);
        EXPECT_EQ(Lumera->isChecked(), Mode == omLumera);
        EXPECT_EQ(SavedOutputMode(), Mode);
    }

    // A mode set by the program (the command line) shows in the menu but is not remembered.
    MainForm->SetOutputMode(omUnicode);
    EXPECT_TRUE(Unicode->isChecked());
    EXPECT_EQ(SavedOutputMode(), omLumera);
}

namespace {

// Unicode output types whole characters on the input backend, as key actions.
class TUnicodeOutputTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        // Every Greek character and combining mark can be typed, as the X11 backend can.
        for (const auto& [First, Last] : { std::pair { 0x0300, 0x03FF }, std::pair { 0x1F00, 0x1FFF } }) {
            for (int Code = First; Code <= Last; ++Code)
                Backend->SetModifiers(char32_t(Code), TModifiers(0));
        }
        MainForm->SetOutputMode(omUnicode);
    }

    // What the target felt: the characters typed, "<" for each BackSpace, "[Tab]" for another key.
    QString Typed() const
    {
        QString Text;
        for (const TBackendCall& Call : Backend->KeyCalls()) {
            if (Call.Kind == bckTypeCharacter)
                Text += QString::fromUcs4(&Call.Character, 1);
            else if (Call.Kind == bckSendKey && Call.Key == nkBackSpace && Call.Press)
                Text += QLatin1Char('<');
            else if (Call.Kind == bckSendKey && Call.Press)
                Text += QStringLiteral("[%1]").arg(QLatin1String(NamedKeyName(Call.Key)));
        }
        return Text;
    }
};

} // namespace

TEST_F(TUnicodeOutputTest, EveryKeyTypesWhatItShowsAndTheShiftedKeysShowTheCapitalsTheyType)
{
    TKeyboard* Keypad = MainForm->Keyboard1;
    const int Columns[] = { 0, 0, 12, 12, 11, 10 };
    for (const bool Caps : { false, true }) {
        for (int Row = 2; Row <= 5; ++Row) {
            for (int Column = 1; Column <= Columns[Row]; ++Column) {
                const QString Shown = Keypad->Keys(Row, Column)->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
                if (MarksOfSpacingCharacter(Shown.toUcs4().value(0)) != 0)
                    continue; // the marks: below
                Backend->ClearCalls();
                QTest::mouseClick(Keypad->Keys(Row, Column), Qt::LeftButton);
                EXPECT_EQ(Typed(), Shown.normalized(QString::NormalizationForm_C)) << Row << "," << Column << " caps " << Caps;
            }
        }
        QTest::mouseClick(Keypad->SpecialKeys(CapsSlot), Qt::LeftButton);
    }

    // With Caps Lock, what the keys show in each output.
    const struct {
        int Row;
        int Column;
        const char* Lumera;
        const char* Unicode;
    } Keys[] = {
        { 4, 7, "J", "Ξ" }, { 5, 4, "V", "Ω" }, { 3, 2, "W", "Σ" }, { 4, 1, "Α", "Α" }, { 3, 1, "Q", "Q" },
    };
    QTest::mouseClick(Keypad->SpecialKeys(CapsSlot), Qt::LeftButton);
    for (const TOutputMode Mode : { omLumera, omUnicode }) {
        MainForm->SetOutputMode(Mode);
        for (const auto& Key : Keys)
            EXPECT_EQ(Keypad->Keys(Key.Row, Key.Column)->text(), QString::fromUtf8(Mode == omUnicode ? Key.Unicode : Key.Lumera))
                << Key.Row << "," << Key.Column;
    }
    // The accent toolbar shows its marks either way.
    EXPECT_EQ(MainForm->ToolButton3->text(), QString::fromUcs4(U"  \u1FFD "));
}

TEST_F(TUnicodeOutputTest, EveryMarkButtonAndKeyAppliesItsMarksOnceToTheLetterBefore)
{
    TKeyboard* Keypad = MainForm->Keyboard1;
    const struct {
        TCaptionButton* Button;
        char32_t Letter;
        const char32_t* Composed;
    } Cases[] = {
        { MainForm->ToolButton1, U'α', U"ἀ" }, { MainForm->ToolButton2, U'α', U"ἁ" }, { MainForm->ToolButton3, U'α', U"ά" },
        { MainForm->ToolButton4, U'α', U"ᾶ" }, { MainForm->ToolButton5, U'α', U"ὰ" }, { MainForm->ToolButton7, U'α', U"ᾳ" },
        { MainForm->ToolButton8, U'α', U"ἄ" }, { MainForm->ToolButton9, U'α', U"ἅ" }, { MainForm->ToolButton10, U'α', U"ἂ" },
        { MainForm->ToolButton11, U'α', U"ἃ" }, { MainForm->ToolButton12, U'α', U"ἆ" }, { MainForm->ToolButton13, U'α', U"ἇ" },
        { MainForm->ToolButton14, U'ι', U"ϊ" }, { MainForm->ToolButton15, U'ι', U"ΐ" },
        // The keypad's own keys whose codes are marks: ; ' [ ] = / on the rows.
        { Keypad->Keys(4, 10), U'α', U"ἀ" }, { Keypad->Keys(4, 11), U'α', U"ἁ" }, { Keypad->Keys(3, 11), U'α', U"ἄ" },
        { Keypad->Keys(3, 12), U'α', U"ἅ" }, { Keypad->Keys(2, 12), U'α', U"ἆ" }, { Keypad->Keys(5, 10), U'α', U"ἇ" },
    };
    for (const auto& Case : Cases) {
        MainForm->Composer.Forget(); // ends whatever was before
        MainForm->Keyboard1Key(Keypad, Case.Letter == U'α' ? 'a' : 'i');
        Backend->ClearCalls();
        QTest::mouseClick(Case.Button, Qt::LeftButton);
        EXPECT_EQ(Typed(), QStringLiteral("<") + QString::fromUcs4(Case.Composed)) << Case.Button->objectName().toStdString();
    }
}

TEST_F(TUnicodeOutputTest, BackspaceTakesTheMarkOffAndTabEndsTheLetter)
{
    TKeyboard* Keypad = MainForm->Keyboard1;
    QTest::mouseClick(Keypad->Keys(4, 1), Qt::LeftButton);        // α
    QTest::mouseClick(MainForm->ToolButton3, Qt::LeftButton);     // acute
    QTest::mouseClick(Keypad->SpecialKeys(BackspaceSlot), Qt::LeftButton);
    QTest::mouseClick(Keypad->SpecialKeys(BackspaceSlot), Qt::LeftButton);
    QTest::mouseClick(Keypad->Keys(3, 3), Qt::LeftButton);        // ε
    QTest::mouseClick(Keypad->SpecialKeys(TabSlot), Qt::LeftButton);
    QTest::mouseClick(MainForm->ToolButton1, Qt::LeftButton);     // smooth breathing, after the Tab: waits
    QTest::mouseClick(Keypad->Keys(3, 3), Qt::LeftButton);
    // Tab itself goes the way it always went, through the key-string sender.
    EXPECT_EQ(Typed(), QString::fromUcs4(U"α<ά<α<ε[Tab]ἐ"));
}
