#include "FitText.h"

#include <QFontInfo>
#include <QFontMetrics>

bool ShowsWhole(const QFont& Font, const QString& Text, const QSize& Room)
{
    const QFontMetrics Metrics(Font);
    if (Metrics.height() > Room.height())
        return false;
    qsizetype First = 0;
    while (First < Text.size() && Text.at(First).isSpace())
        ++First;
    qsizetype End = Text.size();
    while (End > First && Text.at(End - 1).isSpace())
        --End;
    if (First == End)
        return true;
    // Centred as a whole, blanks included: the visible part starts after the leading blanks.
    const int Whole = Metrics.horizontalAdvance(Text);
    const int Start = (Room.width() - Whole) / 2 + Metrics.horizontalAdvance(Text.left(First));
    const int Visible = Metrics.boundingRect(Text.mid(First, End - First)).width();
    return Start >= 0 && Start + Visible <= Room.width();
}

QFont FittedFont(const QFont& Font, const QString& Text, const QSize& Room)
{
    if (Room.width() <= 0 || Room.height() <= 0 || ShowsWhole(Font, Text, Room))
        return Font;
    QFont Fitted = Font;
    for (int Size = QFontInfo(Font).pixelSize() - 1; Size >= SmallestFittedPixelSize; --Size) {
        Fitted.setPixelSize(Size);
        if (ShowsWhole(Fitted, Text, Room))
            return Fitted;
    }
    return Fitted;
}
