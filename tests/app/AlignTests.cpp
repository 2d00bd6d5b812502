// Aligned controls: the order in which top, bottom, left, right and client controls share
// their parent, inside a panel's border, and following every resize.
#include "TForm.h"
#include "TPanel.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TAlignCase {
    const char* Name;
    std::vector<std::pair<TAlign, QSize>> Controls; // in creation order, with design sizes
    std::vector<QRect> Expected;
};

} // namespace

TEST(AlignTests, ControlsShareTheParentInAlignmentOrder)
{
    const TAlignCase Cases[] = {
        { "top then client", { { alTop, { 10, 30 } }, { alClient, { 5, 5 } } }, { { 0, 0, 200, 30 }, { 0, 30, 200, 70 } } },
        { "client created first", { { alClient, { 5, 5 } }, { alTop, { 10, 30 } } }, { { 0, 30, 200, 70 }, { 0, 0, 200, 30 } } },
        { "two tops stack", { { alTop, { 1, 10 } }, { alTop, { 1, 20 } } }, { { 0, 0, 200, 10 }, { 0, 10, 200, 20 } } },
        { "bottom below client", { { alClient, { 1, 1 } }, { alBottom, { 1, 41 } } }, { { 0, 0, 200, 59 }, { 0, 59, 200, 41 } } },
        { "left, client, right", { { alLeft, { 50, 1 } }, { alClient, { 1, 1 } }, { alRight, { 30, 1 } } },
            { { 0, 0, 50, 100 }, { 50, 0, 120, 100 }, { 170, 0, 30, 100 } } },
        { "tops take the full width before sides", { { alLeft, { 50, 1 } }, { alTop, { 1, 20 } } },
            { { 0, 20, 50, 80 }, { 0, 0, 200, 20 } } },
        { "unaligned keeps its bounds", { { alNone, { 7, 8 } } }, { { 0, 0, 7, 8 } } },
    };
    for (const TAlignCase& Case : Cases) {
        QWidget Parent;
        Parent.resize(200, 100);
        std::vector<QWidget*> Controls;
        for (const auto& [Align, Size] : Case.Controls) {
            auto* Control = new QWidget(&Parent);
            Control->resize(Size);
            Controls.push_back(Control);
        }
        for (std::size_t Index = 0; Index < Controls.size(); ++Index)
            SetAlign(Controls[Index], Case.Controls[Index].first);
        for (std::size_t Index = 0; Index < Controls.size(); ++Index)
            EXPECT_EQ(Controls[Index]->geometry(), Case.Expected[Index]) << Case.Name << ", control " << Index;
    }
}

TEST(AlignTests, AlignedControlsFollowTheParentsSizeInsideAPanelsBorder)
{
    TPanel Panel;
    Panel.SetBorderWidth(3);
    Panel.SetBevelOuter(bvRaised);
    Panel.SetBevelWidth(2);
    Panel.resize(100, 50);
    // A hidden widget hears of its size only when shown.
    Panel.show();
    auto* Client = new QWidget(&Panel);
    SetAlign(Client, alClient);
    EXPECT_EQ(Client->geometry(), QRect(5, 5, 90, 40));
    Panel.resize(300, 80);
    EXPECT_EQ(Client->geometry(), QRect(5, 5, 290, 70));
}
