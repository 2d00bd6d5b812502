#include "DesktopBehaviour.h"

#include "KeyHints.h"
#include "TToolButton.h"
#include "Unit1.h"
#include "WindowPlace.h"

#include <QAction>
#include <QCoreApplication>

#include <algorithm>
#include <string>
#include <utility>

namespace {

// The two banner buttons keep cells of 110 pixels while the row has room for them and the
// banner text; on a narrower row the cells share it, and the text goes where there is none.
void FitBannerRow(TForm1& Form)
{
    const int Width = Form.Panel2->width();
    const int Cell = std::min(110, Width / 2);
    for (auto [Panel, Button] : { std::pair { Form.Panel3, Form.Button1 }, std::pair { Form.Panel4, Form.Button2 } }) {
        Panel->setFixedWidth(Cell);
        Button->setGeometry(2, 2, std::max(0, Cell - 8), Button->height());
    }
}

void AddToolTips(TForm1& Form)
{
    // The window never takes the focus, so it is never the active window that Qt shows
    // tooltips for.
    Form.setAttribute(Qt::WA_AlwaysShowToolTips);
    InstallKeyToolTips(*Form.Keyboard1);
    for (TToolButton* Button : Form.ToolBar1->findChildren<TToolButton*>()) {
        std::string Caption = Button->GetText();
        std::erase(Caption, ' ');
        if (Caption.size() == 1)
            Button->setToolTip(MarkNames(Caption[0]));
    }
}

} // namespace

TWindowPlace* AddDesktopBehaviour(TForm1& Form, std::function<std::optional<TRepeatTiming>()> KeyRepeat)
{
    Form.Keyboard1->BackspaceRepeat = std::move(KeyRepeat);
    AddToolTips(Form);

    Form.Panel2->OnResize = [&Form](TObject*) { FitBannerRow(Form); };
    FitBannerRow(Form);

    auto* Place = new TWindowPlace(Form, MainWindowPlaceKey, [&Form] { Form.FormCreate(&Form); });
    Place->Restore();

    // Other menu entries join these: the window's menu is its list of actions.
    Form.setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* ResetPosition = new QAction(QCoreApplication::translate("TForm1", "&Reset position"), &Form);
    QObject::connect(ResetPosition, &QAction::triggered, Place, &TWindowPlace::Reset);
    Form.addAction(ResetPosition);
    return Place;
}
