#pragma once
// The about window: the logo, a few lines about KIVO and an OK button. A dialog of the main
// window, built when first opened.
#include "ui_Abox.h"

#include <QDialog>

class TForm2 : public QDialog, public Ui::TForm2 {
    Q_OBJECT

public:
    explicit TForm2(QWidget* Parent = nullptr);
};

extern TForm2* Form2;
