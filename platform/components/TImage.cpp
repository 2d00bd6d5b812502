#include "TImage.h"

#include <QEvent>
#include <QPixmap>

TImage::TImage(QWidget* Parent)
    : QLabel(Parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TImage::SetAutoSize(bool AutoSize)
{
    AutoSizeValue = AutoSize;
    FitPicture();
}

void TImage::FitPicture()
{
    const QPixmap Picture = pixmap();
    if (AutoSizeValue && !Picture.isNull())
        resize(Picture.deviceIndependentSize().toSize());
}

bool TImage::event(QEvent* Event)
{
    const bool Result = QLabel::event(Event);
    if (Event->type() == QEvent::Polish)
        FitPicture();
    return Result;
}
