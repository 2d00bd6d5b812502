#include "Abox.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* Parent)
    : TForm(Parent)
{
    setupUi(this);
    Loaded();
}
