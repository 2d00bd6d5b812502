#include "Unit4.h"

#include <QTextOption>

#include <algorithm>
#include <vector>

TForm4* Form4 = nullptr;

namespace {

std::vector<TForm4::TParagraph>& AddedParagraphs()
{
    static std::vector<TForm4::TParagraph> Paragraphs;
    return Paragraphs;
}

} // namespace

TForm4::TForm4(QWidget* Parent)
    : QDialog(Parent)
{
    setupUi(this);
    // A fixed-size dialog: a title, a close box, nothing to minimize or maximize.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // Every line centred.
    QTextOption Centred = Memo1->document()->defaultTextOption();
    Centred.setAlignment(Qt::AlignHCenter);
    Memo1->document()->setDefaultTextOption(Centred);
    // The logo's lettering takes the size of its text in whatever face draws it.
    Label1->adjustSize();
    Button1->setFocus();
}

void TForm4::AddUnicodeParagraph(TParagraph Paragraph)
{
    // Every main window adds its parts' paragraphs; each is told once.
    if (std::find(AddedParagraphs().begin(), AddedParagraphs().end(), Paragraph) == AddedParagraphs().end())
        AddedParagraphs().push_back(Paragraph);
}

QStringList TForm4::UnicodeParagraphs()
{
    // Translated as the window shows them, in the language in force then.
    QStringList Added;
    for (const TParagraph Paragraph : AddedParagraphs())
        Added << Paragraph();
    return QStringList {
        tr("1. WHERE THE LETTERS GO. Click in the program you are writing in, then click the keys of "
           "KIVO. The keypad never takes the focus: every letter goes straight to the cursor of your "
           "program, and your own keyboard goes on typing there too."),
        tr("2. THE LETTER FIRST, THEN ITS MARKS. Click the letter, then its breathing, accent, iota "
           "subscript or diaeresis on the buttons to the right of the keypad. Each mark joins the "
           "letter typed just before it: α, then the smooth breathing with acute, gives ἄ; "
           "η, then the rough breathing with circumflex and the iota subscript, gives ᾗ. "
           "Capitals take their marks in the same way: Α, then the rough breathing, gives Ἁ."),
        tr("3. BACKSPACE. Right after a mark, the ⌫ key takes that mark off the letter again and "
           "leaves the letter; the next click deletes the letter itself. Held down, it repeats like "
           "the key of your own keyboard."),
        tr("4. APOSTROPHE AND ELISION. The breathing buttons are marks, not apostrophes: clicked after "
           "a consonant, a smooth breathing sits on that consonant. For an elided word "
           "(δ’ ἐγώ, ἀλλ’ ὅμως) "
           "click the elision mark ’ in the row of extra characters (point 5), then a space. "
           "A breathing or accent at the start of a word belongs on its vowel: click the mark "
           "before the vowel or after it (point 6)."),
    } + Added;
}

void TForm4::ShowInstructions(TOutputMode Output)
{
    if (Output == omUnicode) {
        Memo1->setPlainText(QLatin1Char('\n') + UnicodeParagraphs().join(QStringLiteral("\n\n")));
    } else {
        // Lines broken by hand for this window's width, trailing blanks included.
        //: A translation may give whole paragraphs: the window wraps them.
        Memo1->setPlainText(tr(
            "\n"
            "1. RESIZE your word-processing window, e.g. in Notepad or Word, so that it is located where \n"
            "it is visible above the KIVO keypad.\n"
            "\n"
            "2. SET THE FONT in the word-processing program to Lumera in the required size and style \n"
            "then use KIVO just like a normal keyboard, ensuring that the cursor is always active in the \n"
            "word-processing window before typing. Please note: the keypad will flicker momentarily when \n"
            "you type a letter, but this is normal. (This is in order for Windows to relocate the last active \n"
            "program.)\n"
            "\n"
            "3. USE OF ACCENTS.  Set the cursor after a letter and hit an accent key. The accent will \n"
            "appear above the letter. (Similarly to type the iota subscript and breathings.) Hitting the \n"
            "backspace (or delete) key will delete the accent, etc., first; hitting the key again will delete \n"
            "the letter. Sometimes, if you move the cursor away from the accent and then return to delete \n"
            "it, the accent may not be deleted. In that case, you can try using the delete key on your \n"
            "normal keyboard, or try selecting the accent, and a few surrounding letters, and deleting \n"
            "those. \n"
            "\n"
            "4. SPACING. If you want to use the soft breathing to represent an apostrophe, you will need \n"
            "to press the spacebar once to add a space between the apostrophe and the preceeding \n"
            "letter to space it correctly. Likewise, when a breathing or accent is placed at the beginning of \n"
            "a word, where a letter would normally be, you will have to add an extra space between the \n"
            "accent, etc., and the preceding word to space it correctly."));
    }
}
