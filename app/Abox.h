#pragma once
// The about window: the logo, a few lines about KIVO and an OK button. It has no code of its
// own; everything it shows and does comes from its window description, Abox.ui.
#include "TForm.h"
#include "ui_Abox.h"

class TForm2 : public TForm, public Ui::TForm2 {
    Q_OBJECT

public:
    explicit TForm2(QWidget* Parent = nullptr);
};

extern TForm2* Form2;
