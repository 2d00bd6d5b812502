#include "KeyHints.h"

#include "Keyboard.h"
#include "LumeraGlyphs.h"
#include "TSpeedButton.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QStringList>
#include <QToolTip>

#include <utility>

namespace {

// The font's spacing marks decompose (NFKD) into a blank and these combining marks.
QString CombiningMarkName(QChar Mark)
{
    switch (Mark.unicode()) {
    case 0x0313:
        return QCoreApplication::translate("KeyHints", "smooth breathing");
    case 0x0314:
        return QCoreApplication::translate("KeyHints", "rough breathing");
    case 0x0301:
        return QCoreApplication::translate("KeyHints", "acute");
    case 0x0300:
        return QCoreApplication::translate("KeyHints", "grave");
    case 0x0342:
        return QCoreApplication::translate("KeyHints", "circumflex");
    case 0x0345:
        return QCoreApplication::translate("KeyHints", "iota subscript");
    case 0x0308:
        return QCoreApplication::translate("KeyHints", "diaeresis");
    default:
        return {};
    }
}

class TKeyToolTips : public QObject {
public:
    explicit TKeyToolTips(TKeyboard& Keyboard)
        : QObject(&Keyboard)
        , Keyboard(Keyboard)
    {
    }

    // A key without a tooltip of its own passes the request on to the keypad.
    bool eventFilter(QObject*, QEvent* Event) override
    {
        if (Event->type() != QEvent::ToolTip)
            return false;
        auto* Help = static_cast<QHelpEvent*>(Event);
        const auto* Key = qobject_cast<const TSpeedButton*>(Keyboard.childAt(Help->pos()));
        const QString Tip = Key ? KeyToolTip(Keyboard, *Key) : QString();
        if (Tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(Help->globalPos(), Tip, &Keyboard, Key->geometry());
        return true;
    }

private:
    TKeyboard& Keyboard;
};

} // namespace

QString MarkNames(char Code)
{
    const char32_t Glyph = LumeraGlyphs[static_cast<unsigned char>(Code)];
    QString Decomposed = QString::fromUcs4(&Glyph, 1).normalized(QString::NormalizationForm_KD);
    // The spacing grave (varia) decomposes to the ASCII grave, not to a blank and a mark.
    if (Decomposed == QLatin1String("`"))
        Decomposed = QStringLiteral(" \u0300");
    if (Glyph == 0 || !Decomposed.startsWith(QLatin1Char(' ')))
        return {};
    QStringList Names;
    for (const QChar Mark : Decomposed.mid(1)) {
        const QString Name = CombiningMarkName(Mark);
        if (Name.isEmpty())
            return {};
        Names << Name;
    }
    QString Words = Names.join(QCoreApplication::translate("KeyHints", " and "));
    if (!Words.isEmpty())
        Words[0] = Words[0].toUpper();
    return Words;
}

QString KeyToolTip(const TKeyboard& Keyboard, const TSpeedButton& Key)
{
    const std::pair<int, const char*> SpecialKeys[] = {
        { TabSlot, QT_TRANSLATE_NOOP("KeyHints", "Tab") },
        { CapsSlot, QT_TRANSLATE_NOOP("KeyHints", "Caps Lock: capitals until clicked again") },
        { LeftShiftSlot, QT_TRANSLATE_NOOP("KeyHints", "Shift: a capital for the next key") },
        { RightShiftSlot, QT_TRANSLATE_NOOP("KeyHints", "Shift: a capital for the next key") },
        { EnterSlot, QT_TRANSLATE_NOOP("KeyHints", "Enter") },
        { BackspaceSlot, QT_TRANSLATE_NOOP("KeyHints", "Backspace: deletes the character before the cursor; repeats while held") },
    };
    // The key shows its symbol only in Unicode output, where right after a mark it takes the
    // mark off and leaves the letter.
    if (&Key == Keyboard.SpecialKeys(BackspaceSlot) && Key.text() == QStringLiteral("\u232B"))
        return QCoreApplication::translate("KeyHints", "Backspace: right after a mark, takes that mark off the letter; "
                                                       "otherwise deletes the character before the cursor; repeats while held");
    for (const auto& [Slot, Tip] : SpecialKeys) {
        if (Keyboard.SpecialKeys(Slot) == &Key)
            return QCoreApplication::translate("KeyHints", Tip);
    }
    return Key.Caption().size() == 1 ? MarkNames(Key.Caption()[0]) : QString();
}

void InstallKeyToolTips(TKeyboard& Keyboard) { Keyboard.installEventFilter(new TKeyToolTips(Keyboard)); }
