#pragma once
// The instructions window: the logo, how to use KIVO, and a Close button. It has no code of its
// own; everything it shows and does comes from its window description, Unit4.ui.
#include "TForm.h"
#include "ui_Unit4.h"

class TForm4 : public TForm, public Ui::TForm4 {
    Q_OBJECT

public:
    explicit TForm4(QWidget* Parent = nullptr);
};

extern TForm4* Form4;
