#include "TForm.h"

#include "TPanel.h"
#include "TToolBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMetaEnum>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <QVariant>
#include <QWindow>

#include <string>

namespace {

const char* const AlignProperty = "Align";

// Realigns a control's children whenever the control changes size. One filter serves every
// parent that has aligned children.
class TAligner : public QObject {
public:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() == QEvent::Resize) {
            if (auto* Parent = qobject_cast<QWidget*>(Watched))
                AlignControls(Parent);
        }
        return false;
    }
};

TAligner& Aligner()
{
    static TAligner Filter;
    return Filter;
}

void WatchForAlignment(QWidget* Parent)
{
    if (Parent && !Parent->property("AlignWatched").toBool()) {
        Parent->setProperty("AlignWatched", true);
        Parent->installEventFilter(&Aligner());
    }
}

// The client area that aligned children share: inside a panel's border and bevels.
QRect ClientArea(QWidget* Parent)
{
    QRect Area = Parent->rect();
    if (const auto* Panel = dynamic_cast<const TPanel*>(Parent)) {
        int Inset = Panel->BorderWidth();
        if (Panel->BevelOuter() != bvNone)
            Inset += Panel->BevelWidth();
        if (Panel->BevelInner() != bvNone)
            Inset += Panel->BevelWidth();
        Area.adjust(Inset, Inset, -Inset, -Inset);
    }
    return Area;
}

// A stored enumeration value: a number, or a name such as "alTop" looked up in Names.
template <typename TEnum, std::size_t Count>
bool ReadEnum(const QVariant& Value, const char* const (&Names)[Count], TEnum& Result)
{
    bool IsNumber = false;
    const int Number = Value.toInt(&IsNumber);
    if (IsNumber && Number >= 0 && static_cast<std::size_t>(Number) < Count) {
        Result = static_cast<TEnum>(Number);
        return true;
    }
    const QString Name = Value.toString();
    for (std::size_t Index = 0; Index < Count; ++Index) {
        if (Name == QLatin1String(Names[Index])) {
            Result = static_cast<TEnum>(Index);
            return true;
        }
    }
    qWarning("Unknown stored value '%s'", qPrintable(Name));
    return false;
}

const char* const AlignNames[] = { "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient" };
const char* const BevelNames[] = { "bvNone", "bvLowered", "bvRaised", "bvSpace" };
const char* const FontStyleNames[] = { "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut" };

} // namespace

bool ReadStoredColor(const QVariant& Value, TColor& Result)
{
    static const std::pair<const char*, TColor> Named[] = {
        { "clBlack", clBlack }, { "clNavy", clNavy }, { "clWhite", clWhite }, { "clBlue", clBlue },
        { "clRed", clRed }, { "clYellow", clYellow }, { "clGray", clGray }, { "clSilver", clSilver },
        { "clWindow", clWindow }, { "clWindowText", clWindowText }, { "clBtnFace", clBtnFace },
        { "clBtnText", clBtnText },
    };
    bool IsNumber = false;
    const qlonglong Number = Value.toString().toLongLong(&IsNumber, 0);
    if (IsNumber) {
        Result = static_cast<TColor>(Number);
        return true;
    }
    for (const auto& [Name, Color] : Named) {
        if (Value.toString() == QLatin1String(Name)) {
            Result = Color;
            return true;
        }
    }
    qWarning("Unknown stored colour '%s'", qPrintable(Value.toString()));
    return false;
}

namespace {

void LoadFont(QWidget* Control)
{
    auto* Holder = dynamic_cast<TFontHolder*>(Control);
    if (!Holder)
        return;
    const QVariant Name = Control->property("Font.Name");
    const QVariant Height = Control->property("Font.Height");
    const QVariant Style = Control->property("Font.Style");
    const QVariant Color = Control->property("Font.Color");
    if (!Name.isValid() && !Height.isValid() && !Style.isValid() && !Color.isValid())
        return;
    // The description is complete in itself: what it leaves out is the parent's.
    TFont Font = Holder->Font();
    if (Name.isValid())
        Font.SetName(Name.toString().toStdString());
    if (Height.isValid())
        Font.SetHeight(Height.toInt());
    if (Style.isValid()) {
        TFontStyles Styles;
        for (const QString& Item : Style.toString().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            TFontStyle One {};
            if (ReadEnum(QVariant(Item.trimmed()), FontStyleNames, One))
                Styles.Include(One);
        }
        Font.SetStyle(Styles);
    }
    TColor FontColor {};
    if (Color.isValid() && ReadStoredColor(Color, FontColor))
        Font.SetColor(FontColor);
    Holder->SetFont(Font);
}

void LoadPanel(QWidget* Control)
{
    auto* Panel = dynamic_cast<TPanel*>(Control);
    if (!Panel)
        return;
    TBevelCut Bevel {};
    if (const QVariant Value = Control->property("BevelOuter"); Value.isValid() && ReadEnum(Value, BevelNames, Bevel))
        Panel->SetBevelOuter(Bevel);
    if (const QVariant Value = Control->property("BevelInner"); Value.isValid() && ReadEnum(Value, BevelNames, Bevel))
        Panel->SetBevelInner(Bevel);
    if (const QVariant Value = Control->property("BevelWidth"); Value.isValid())
        Panel->SetBevelWidth(Value.toInt());
    if (const QVariant Value = Control->property("BorderWidth"); Value.isValid())
        Panel->SetBorderWidth(Value.toInt());
    TColor Color {};
    if (const QVariant Value = Control->property("Color"); Value.isValid() && ReadStoredColor(Value, Color))
        Panel->SetColor(Color);
    // A single border is the sunken line that the system draws around a framed area.
    if (Control->property("BorderStyle").toString() == QLatin1String("bsSingle")) {
        Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        Panel->setLineWidth(1);
    }
}

// Depth first, parents before children, so that a child's stored font overrides what it
// inherited and the parent's alignment has sized it before its own children are aligned.
void LoadControl(QWidget* Control)
{
    LoadFont(Control);
    LoadPanel(Control);
    if (const QVariant Value = Control->property(AlignProperty); Value.isValid() && Value.typeId() != QMetaType::Int) {
        TAlign Align = alNone;
        if (ReadEnum(Value, AlignNames, Align))
            SetAlign(Control, Align);
    } else if (Value.isValid()) {
        WatchForAlignment(Control->parentWidget());
    }
    for (QObject* Child : Control->children()) {
        if (auto* ChildControl = qobject_cast<QWidget*>(Child); ChildControl && !ChildControl->isWindow())
            LoadControl(ChildControl);
    }
    AlignControls(Control);
    if (auto* ToolBar = qobject_cast<TToolBar*>(Control))
        ToolBar->ArrangeButtons();
}

} // namespace

TAlign AlignOf(const QWidget* Control)
{
    const QVariant Value = Control->property(AlignProperty);
    return Value.typeId() == QMetaType::Int ? static_cast<TAlign>(Value.toInt()) : alNone;
}

void SetAlign(QWidget* Control, TAlign Align)
{
    Control->setProperty(AlignProperty, static_cast<int>(Align));
    if (QWidget* Parent = Control->parentWidget()) {
        WatchForAlignment(Parent);
        AlignControls(Parent);
    }
}

namespace {

// A control hidden on purpose keeps no place; one not yet shown with its parent does.
bool ExplicitlyHidden(const QWidget* Control)
{
    return Control->isHidden() && Control->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

} // namespace

void AlignControls(QWidget* Parent)
{
    QRect Area = ClientArea(Parent);
    const QObjectList& Children = Parent->children();
    auto Each = [&](TAlign Wanted, auto Place) {
        for (QObject* Child : Children) {
            auto* Control = qobject_cast<QWidget*>(Child);
            if (Control && !Control->isWindow() && !ExplicitlyHidden(Control) && AlignOf(Control) == Wanted)
                Place(Control);
        }
    };
    Each(alTop, [&](QWidget* Control) {
        Control->setGeometry(Area.left(), Area.top(), Area.width(), Control->height());
        Area.setTop(Area.top() + Control->height());
    });
    Each(alBottom, [&](QWidget* Control) {
        Control->setGeometry(Area.left(), Area.bottom() + 1 - Control->height(), Area.width(), Control->height());
        Area.setBottom(Area.bottom() - Control->height());
    });
    Each(alLeft, [&](QWidget* Control) {
        Control->setGeometry(Area.left(), Area.top(), Control->width(), Area.height());
        Area.setLeft(Area.left() + Control->width());
    });
    Each(alRight, [&](QWidget* Control) {
        Control->setGeometry(Area.right() + 1 - Control->width(), Area.top(), Control->width(), Area.height());
        Area.setRight(Area.right() - Control->width());
    });
    Each(alClient, [&](QWidget* Control) { Control->setGeometry(Area.normalized()); });
}

TForm::TForm(QWidget* Parent)
    : QWidget(Parent, Qt::Window)
    , TFontHolder(this)
{
    setAutoFillBackground(true);
    QPalette Palette = palette();
    Palette.setColor(QPalette::Window, ToQColor(clBtnFace));
    setPalette(Palette);
    TakeParentFont();
    FontChanged();
}

void TForm::Loaded()
{
    LoadControl(this);
    if (const QString Active = property("ActiveControl").toString(); !Active.isEmpty()) {
        if (auto* Control = findChild<QWidget*>(Active))
            Control->setFocus();
    }
}

void TForm::SetFormStyle(TFormStyle Style)
{
    FormStyleValue = Style;
    ApplyWindowFlags();
}

void TForm::SetBorderStyle(TFormBorderStyle Style)
{
    BorderStyleValue = Style;
    ApplyWindowFlags();
}

void TForm::SetAcceptFocus(bool Accept)
{
    AcceptFocusValue = Accept;
    ApplyWindowFlags();
}

void TForm::ApplyWindowFlags()
{
    const bool WasVisible = isVisible();
    Qt::WindowFlags Flags = Qt::Window;
    if (BorderStyleValue == bsDialog) {
        Flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint;
    }
    if (FormStyleValue == fsStayOnTop)
        Flags |= Qt::WindowStaysOnTopHint;
    if (!AcceptFocusValue)
        Flags |= Qt::WindowDoesNotAcceptFocus;
    setWindowFlags(Flags);
    if (WasVisible)
        show();
}

QRect TForm::OuterBounds() const
{
    QRect Bounds = frameGeometry();
    if (RequestedSize)
        Bounds.setSize(*RequestedSize);
    if (RequestedPosition)
        Bounds.moveTopLeft(*RequestedPosition);
    return Bounds;
}

QSize TForm::FrameExtra() const { return frameGeometry().size() - geometry().size(); }

void TForm::SetLeft(int Left)
{
    const QRect Bounds = OuterBounds();
    SetBounds(Left, Bounds.top(), Bounds.width(), Bounds.height());
}

void TForm::SetTop(int Top)
{
    const QRect Bounds = OuterBounds();
    SetBounds(Bounds.left(), Top, Bounds.width(), Bounds.height());
}

void TForm::SetWidth(int Width)
{
    const QRect Bounds = OuterBounds();
    RequestedSize = QSize(Width, Bounds.height());
    CorrectionsLeft = 4;
    ApplyRequestedBounds(false);
}

void TForm::SetHeight(int Height)
{
    const QRect Bounds = OuterBounds();
    RequestedSize = QSize(Bounds.width(), Height);
    CorrectionsLeft = 4;
    ApplyRequestedBounds(false);
}

void TForm::SetBounds(int Left, int Top, int Width, int Height)
{
    const QRect Bounds = OuterBounds();
    if (Bounds.width() != Width || Bounds.height() != Height || RequestedSize)
        RequestedSize = QSize(Width, Height);
    RequestedPosition = QPoint(Left, Top);
    CenterRequested = false;
    LastMoveTarget = RequestedPosition.value();
    move(LastMoveTarget);
    CorrectionsLeft = 4;
    ApplyRequestedBounds(false);
}

void TForm::ApplyRequestedBounds(bool Settle)
{
    const QSize Extra = FrameExtra();
    if (RequestedSize) {
        const QSize Client(std::max(1, RequestedSize->width() - Extra.width()),
            std::max(1, RequestedSize->height() - Extra.height()));
        if (size() != Client)
            resize(Client);
    }
    if (CenterRequested) {
        if (const QScreen* Screen = screen()) {
            const QRect Area = Screen->geometry();
            const QSize Outer = size() + Extra;
            RequestedPosition = QPoint(Area.left() + (Area.width() - Outer.width()) / 2,
                Area.top() + (Area.height() - Outer.height()) / 2);
        }
    }
    const QWindow* Window = windowHandle();
    const bool OnScreen = isVisible() && Window && Window->isExposed();
    if (!OnScreen) {
        if (RequestedPosition) {
            LastMoveTarget = *RequestedPosition;
            move(LastMoveTarget);
        }
        return;
    }
    // On screen, the position is checked only at the settling checks after the first exposure:
    // between them Qt's idea of the frame may still be the one it asked for, not the one the
    // window manager gave.
    if (!Settle)
        return;
    const bool SizeReached = !RequestedSize || frameGeometry().size() == *RequestedSize;
    const bool PositionReached = !RequestedPosition || frameGeometry().topLeft() == *RequestedPosition;
    // Until the window manager's frame is known the position cannot be judged; a window that
    // has none after the last check has no window manager.
    const bool FrameKnown = !Extra.isEmpty() || SettleChecksLeft == 0;
    if (!PositionReached && CorrectionsLeft > 0 && FrameKnown) {
        --CorrectionsLeft;
        LastMoveTarget += *RequestedPosition - frameGeometry().topLeft();
        move(LastMoveTarget);
    } else if ((SizeReached && PositionReached && FrameKnown) || CorrectionsLeft == 0) {
        // Reached: from now on the user may move and size the window as they like.
        RequestedSize.reset();
        RequestedPosition.reset();
        CenterRequested = false;
    }
}

void TForm::FontChanged()
{
    setFont(ToQFont(Font()));
    QPalette Palette = palette();
    Palette.setColor(QPalette::WindowText, ToQColor(Font().Color()));
    setPalette(Palette);
}

bool TForm::event(QEvent* Event)
{
    const bool Result = QWidget::event(Event);
    switch (Event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        if (RequestedSize && isVisible())
            ApplyRequestedBounds(false);
        // The frame has just become known (or changed): check the position once more.
        if ((RequestedPosition || RequestedSize || CenterRequested) && isVisible() && FrameExtra() != KnownFrameExtra) {
            KnownFrameExtra = FrameExtra();
            QTimer::singleShot(50, this, [this] { ApplyRequestedBounds(true); });
        }
        break;
    default:
        break;
    }
    return Result;
}

void TForm::showEvent(QShowEvent* Event)
{
    if (!Event->spontaneous()) {
        if (PositionValue == poScreenCenter) {
            CenterRequested = true;
            CorrectionsLeft = 4;
            ApplyRequestedBounds(false);
        } else if (PositionValue == poDesigned && !RequestedPosition) {
            SetBounds(Left(), Top(), Width(), Height());
        }
        if (BorderStyleValue == bsDialog)
            setFixedSize(size());
        if (QWindow* Window = windowHandle())
            Window->installEventFilter(this);
    }
    QWidget::showEvent(Event);
}

bool TForm::eventFilter(QObject* Watched, QEvent* Event)
{
    // The first exposure comes after the window manager has framed the window: the frame's
    // size is known from then on. Resizing is left until the exposure has been handled.
    if (Event->type() == QEvent::Expose && Watched == windowHandle() && (RequestedPosition || RequestedSize || CenterRequested)) {
        QTimer::singleShot(0, this, [this] { ApplyRequestedBounds(false); });
        SettleChecksLeft = 6;
        for (const int Delay : { 50, 150, 300, 600, 1200, 2000 }) {
            QTimer::singleShot(Delay, this, [this] {
                SettleChecksLeft = std::max(0, SettleChecksLeft - 1);
                ApplyRequestedBounds(true);
            });
        }
    }
    return QWidget::eventFilter(Watched, Event);
}

void TForm::closeEvent(QCloseEvent* Event)
{
    if (InModalLoop && ModalResultValue == mrNone)
        ModalResultValue = mrCancel;
    QWidget::closeEvent(Event);
}

void TForm::SetModalResult(int Result)
{
    ModalResultValue = Result;
    if (InModalLoop && Result != mrNone)
        close();
}

int TForm::ShowModal()
{
    ModalResultValue = mrNone;
    setWindowModality(Qt::ApplicationModal);
    // A modal window must not open under a stay-on-top window of its own application, where
    // the user could neither see it nor reach the window it blocks.
    bool OverStayOnTop = FormStyleValue == fsStayOnTop;
    for (const QWidget* Window : QApplication::topLevelWidgets()) {
        if (Window != this && Window->isVisible() && Window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            OverStayOnTop = true;
    }
    setWindowFlag(Qt::WindowStaysOnTopHint, OverStayOnTop);
    InModalLoop = true;
    show();
    raise();
    activateWindow();
    QEventLoop Loop;
    // The loop ends when the window is hidden, whether by a button's result or the close box.
    class THideWatcher : public QObject {
    public:
        explicit THideWatcher(QEventLoop& Loop)
            : Loop(Loop)
        {
        }
        bool eventFilter(QObject*, QEvent* Event) override
        {
            if (Event->type() == QEvent::Hide)
                Loop.quit();
            return false;
        }

    private:
        QEventLoop& Loop;
    } Watcher(Loop);
    installEventFilter(&Watcher);
    if (isVisible())
        Loop.exec(QEventLoop::DialogExec);
    removeEventFilter(&Watcher);
    InModalLoop = false;
    hide();
    setWindowModality(Qt::NonModal);
    return ModalResultValue;
}

void TForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}
