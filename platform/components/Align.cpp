#include "Align.h"

#include "TPanel.h"

#include <QEvent>
#include <QVariant>

namespace {

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

// A control hidden on purpose keeps no place; one not yet shown with its parent does.
bool ExplicitlyHidden(const QWidget* Control)
{
    return Control->isHidden() && Control->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

} // namespace

void WatchForAlignment(QWidget* Parent)
{
    if (Parent && !Parent->property("AlignWatched").toBool()) {
        Parent->setProperty("AlignWatched", true);
        Parent->installEventFilter(&Aligner());
    }
}

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
