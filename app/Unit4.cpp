#include "Unit4.h"

#include "ExtraKeys.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* Parent)
    : TForm(Parent)
{
    setupUi(this);
    Loaded();
    AddExtraKeysInstructions(*Memo1);
}
