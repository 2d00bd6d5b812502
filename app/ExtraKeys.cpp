#include "ExtraKeys.h"

#include "ExtraKeyTable.h"
#include "LumeraGlyphs.h"
#include "TToolButton.h"
#include "Unit1.h"

#include <QEvent>
#include <QPainter>
#include <QSettings>
#include <QToolButton>

#include <algorithm>
#include <string>

namespace {

const QString ShownKey = QStringLiteral("ExtraKeys/Shown");

QString FromUcs4(const char32_t* Text) { return QString::fromUcs4(Text); }

// A frame over a mark button whose marks wait for their letter. Clicks go through it to the
// button; it follows the button's size.
class TWaitingFrame : public QWidget {
public:
    static inline const QString Name = QStringLiteral("WaitingFrame");

    explicit TWaitingFrame(QWidget* Button)
        : QWidget(Button)
    {
        setObjectName(Name);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        Button->installEventFilter(this);
        setGeometry(Button->rect());
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Watched == parent() && Event->type() == QEvent::Resize)
            setGeometry(parentWidget()->rect());
        return false;
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter Painter(this);
        QColor Colour = palette().color(QPalette::Highlight);
        Painter.setPen(QPen(Colour, 3));
        Colour.setAlpha(50);
        Painter.setBrush(Colour);
        Painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
};

// Fonts seldom have the paragraphos; its key draws it, a stroke along the foot of the line.
class TParagraphosKey : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* Event) override
    {
        QToolButton::paintEvent(Event);
        QPainter Painter(this);
        Painter.setPen(QPen(palette().color(QPalette::ButtonText), 2));
        const int Foot = height() * 2 / 3;
        Painter.drawLine(width() / 4, Foot, width() * 3 / 4, Foot);
    }
};

// The marks a tool button's codes type in Unicode output, as TForm1::TypeUnicode reads them.
TGreekMarks MarksOfButton(const TToolButton& Button)
{
    TGreekMarks Marks = 0;
    for (const char Code : Button.GetText())
        Marks |= MarksOfSpacingCharacter(UnicodeKeyGlyphs[static_cast<unsigned char>(Code)]);
    return Marks;
}

} // namespace

void TForm1::TypeComposed(const std::function<TComposerActions(TGreekComposer&)>& Compose)
{
    SendCycle([this, Compose] {
        if (OnBeforeCompose)
            OnBeforeCompose();
        SendComposed(Compose(Composer));
    });
}

TExtraKeys::TExtraKeys(TForm1& Form)
    : QObject(&Form)
    , Form(Form)
    , Shown(QSettings().value(ShownKey, false).toBool())
{
    // Over the banner text, which it hides while the row is shown.
    Row = new QWidget(Form.Label1);
    Row->setObjectName(QStringLiteral("ExtraKeysRow"));
    Row->hide();
    auto Prepare = [](QToolButton* Button) {
        Button->setFocusPolicy(Qt::NoFocus);
        Button->setCursor(Qt::PointingHandCursor);
        Button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    };
    for (int Index = 0; Index < ExtraKeyCount; ++Index) {
        const TExtraKey& Key = ExtraKeys[Index];
        QToolButton* Button = Key.Character == U'\u2E0F' ? new TParagraphosKey(Row) : new QToolButton(Row);
        Prepare(Button);
        Button->setText(Key.Character == U'\u2E0F' ? QString() : FromUcs4(Key.Caption));
        Button->setToolTip(tr(Key.ToolTip));
        connect(Button, &QToolButton::clicked, this, [this, Index] { Click(Index); });
        Keys.push_back(Button);
    }
    ToggleButton = new QToolButton(Row);
    ToggleButton->setObjectName(QStringLiteral("ExtraKeysToggle"));
    Prepare(ToggleButton);
    ToggleButton->setFont(Form.Button2->font());
    connect(ToggleButton, &QToolButton::clicked, this, [this] { SetRowShown(!Shown); });

    Form.Label1->installEventFilter(this);
    Form.Composer.OnWaitingChanged = [this] { ShowWaiting(); };
    Arrange();
}

void TExtraKeys::SetUnicodeOutput(bool Unicode)
{
    if (!Unicode)
        Form.Composer.CancelWaiting();
    Row->setVisible(Unicode);
    Arrange();
}

void TExtraKeys::SetRowShown(bool Show)
{
    Shown = Show;
    QSettings().setValue(ShownKey, Shown);
    Arrange();
}

bool TExtraKeys::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == Form.Label1 && Event->type() == QEvent::Resize)
        Arrange();
    return false;
}

void TExtraKeys::Arrange()
{
    const QSize Size = Form.Label1->size();
    Row->setGeometry(0, 0, Size.width(), Size.height());
    // Shown, the row covers the banner text; hidden, the text shows around the toggle.
    Row->setAutoFillBackground(Shown);
    // On a narrow screen the keys are narrow too, and their captions smaller.
    QFont KeyFont(LumeraSubstituteFamily());
    KeyFont.setPixelSize(std::clamp(ExtraKeyBounds(Size, 0).width() - 3, 11, 16));
    Row->setFont(KeyFont);
    for (int Index = 0; Index < ExtraKeyCount; ++Index) {
        Keys[static_cast<size_t>(Index)]->setGeometry(ExtraKeyBounds(Size, Index));
        Keys[static_cast<size_t>(Index)]->setVisible(Shown);
    }
    ToggleButton->setGeometry(ExtraKeysToggleBounds(Size, Shown));
    ToggleButton->setText(Shown ? QStringLiteral("\u00D7") : tr("More signs"));
    ToggleButton->setToolTip(Shown ? tr("Hide the extra keys")
                                   : tr("Show the extra keys: high stop, elision, guillemets, macron and breve, archaic "
                                        "letters, numeral signs and editorial signs"));
}

void TExtraKeys::Click(int Index)
{
    const TExtraKey& Key = ExtraKeys[Index];
    Form.TypeComposed([&Key](TGreekComposer& Composer) {
        return Key.Marks != 0 ? Composer.ApplyMarks(Key.Marks) : Composer.TypeCharacter(Key.Character);
    });
}

void TExtraKeys::ShowWaiting()
{
    const std::vector<TGreekMarks>& Waiting = Form.Composer.WaitingMarks();
    std::vector<std::pair<QWidget*, TGreekMarks>> Buttons;
    for (TToolButton* Button : Form.ToolBar1->findChildren<TToolButton*>())
        Buttons.emplace_back(Button, MarksOfButton(*Button));
    for (int Index = 0; Index < ExtraKeyCount; ++Index)
        Buttons.emplace_back(Keys[static_cast<size_t>(Index)], ExtraKeys[Index].Marks);
    for (const auto& [Button, Marks] : Buttons) {
        const bool Waits = Marks != 0 && std::find(Waiting.begin(), Waiting.end(), Marks) != Waiting.end();
        QWidget* Frame = Button->findChild<QWidget*>(TWaitingFrame::Name, Qt::FindDirectChildrenOnly);
        if (Waits && !Frame)
            Frame = new TWaitingFrame(Button);
        if (Frame)
            Frame->setVisible(Waits);
    }
}

QString TExtraKeys::Instructions()
{
    return tr("5. EXTRA CHARACTERS. Click \u201CMore signs\u201D at the right of the banner to show a row of extra "
              "keys; \u00D7 hides it again, and KIVO remembers which you chose. Point at a key to read its name. "
              "From the left: the ano teleia \u00B7 (the high stop); the elision mark \u2019 (the apostrophe "
              "Unicode recommends: not the smooth breathing) and beside it the koronis \u1FBD; the guillemets "
              "\u00AB \u00BB; the macron, the breve and the dot below; the archaic and numeral letters digamma "
              "\u03DD \u03DC, stigma \u03DB \u03DA, koppa \u03D9 \u03D8 \u03DF \u03DE and sampi \u03E1 \u03E0, "
              "and the lunate sigma \u03F2 \u03F9; the numeral signs \u02B9 and \u0375; the editorial signs "
              "\u27E8 \u27E9 [ ] \u2020 and the paragraphos.\n\n"
              "The macron, the breve and the dot below are marks, as the accents are: click the letter, then "
              "the mark (\u1FB1 \u1FB0 \u1FD1 \u1FD0 \u1FE1 \u1FE0). With an accent or a breathing they come "
              "out in the order Unicode prescribes, the length mark next to the letter, whichever you click "
              "first (\u1FB1\u0301: alpha, macron, acute). Click the breathing before the accent, or the "
              "button that has both, and the dot below last.\n\n"
              "6. MARKS BEFORE THE LETTER. A mark clicked where no letter typed by KIVO comes before it (at "
              "the start, after a space or a punctuation mark, after you typed or clicked in the other "
              "program) waits for the next letter, as a dead key does: its button is framed, and the next "
              "letter you click gets the mark. Click the button again, or Backspace, to take it back.");
}

