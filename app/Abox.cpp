#include "Abox.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* Parent)
    : QDialog(Parent)
{
    setupUi(this);
    // A fixed-size dialog: a title, a close box, nothing to minimize or maximize.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // The text lies on the dialog's own background, as plain lines.
    Memo1->viewport()->setAutoFillBackground(false);
    Memo1->setPlainText(tr("KIVO Version 1.0.\n"
                           "\n"
                           "By the KIVO developers.\n"
                           "\n"
                           "Copyright December 2026, \n"
                           "the KIVO developers. You \n"
                           "may pass it on to others \n"
                           "unchanged, and with this \n"
                           "notice, as long as no fee \n"
                           "is asked for it. Updates \n"
                           "are found on the web at: \n"
                           "the project's repository."));
    // The logo's lettering takes the size of its text in whatever face draws it.
    Label1->adjustSize();
    Button1->setFocus();
}
