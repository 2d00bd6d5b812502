#include "TSpeedButton.h"

TSpeedButton::TSpeedButton(QWidget* Owner)
    : TCaptionButton(Owner)
{
    // A control created inside a parent that is already on screen shows with it at once; one
    // created before shows when the parent does.
    if (Owner)
        show();
}
