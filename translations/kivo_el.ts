<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="el_GR">
<context>
    <name>KeyHints</name>
    <message>
        <source>smooth breathing</source>
        <translation>ψιλή</translation>
    </message>
    <message>
        <source>rough breathing</source>
        <translation>δασεία</translation>
    </message>
    <message>
        <source>acute</source>
        <translation>οξεία</translation>
    </message>
    <message>
        <source>grave</source>
        <translation>βαρεία</translation>
    </message>
    <message>
        <source>circumflex</source>
        <translation>περισπωμένη</translation>
    </message>
    <message>
        <source>iota subscript</source>
        <translation>υπογεγραμμένη</translation>
    </message>
    <message>
        <source>diaeresis</source>
        <translation>διαλυτικά</translation>
    </message>
    <message>
        <source> and </source>
        <translation> και </translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Στηλοθέτης (Tab)</translation>
    </message>
    <message>
        <source>Caps Lock: capitals until clicked again</source>
        <translation>Caps Lock: κεφαλαία, ώσπου να πατηθεί ξανά</translation>
    </message>
    <message>
        <source>Shift: a capital for the next key</source>
        <translation>Shift: κεφαλαίο για το επόμενο πλήκτρο</translation>
    </message>
    <message>
        <source>Enter</source>
        <translation>Enter: νέα γραμμή</translation>
    </message>
    <message>
        <source>Backspace: deletes the character before the cursor; repeats while held</source>
        <translation>Backspace: σβήνει τον χαρακτήρα πριν από τον δρομέα· όσο μένει πατημένο, επαναλαμβάνεται</translation>
    </message>
    <message>
        <source>Backspace: right after a mark, takes that mark off the letter; otherwise deletes the character before the cursor; repeats while held</source>
        <translation>Backspace: αμέσως μετά από ένα σημάδι, αφαιρεί το σημάδι αυτό από το γράμμα· αλλιώς σβήνει τον χαρακτήρα πριν από τον δρομέα· όσο μένει πατημένο, επαναλαμβάνεται</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>KIVO types only into X11 programs here. To type into every program, add it once in Settings, Keyboard, Input Sources: +, Greek, &quot;Greek, Modern (1453-) (KIVO)&quot;; then choose it in the top bar.</source>
        <translation>Εδώ το KIVO γράφει μόνο σε προγράμματα X11. Για να γράφει σε κάθε πρόγραμμα, προσθέστε το μία φορά στις Ρυθμίσεις, Πληκτρολόγιο, Πηγές εισόδου: +, Ελληνικά, «Ελληνικά (KIVO)»· έπειτα επιλέξτε το στην επάνω γραμμή.</translation>
    </message>
    <message>
        <source>KIVO types only into X11 programs here. To type into every program, add &quot;Greek (KIVO)&quot; as an input method in IBus&apos;s preferences (ibus-setup) and choose it.</source>
        <translation>Εδώ το KIVO γράφει μόνο σε προγράμματα X11. Για να γράφει σε κάθε πρόγραμμα, προσθέστε το «Ελληνικά (KIVO)» ως μέθοδο εισαγωγής στις προτιμήσεις του IBus (ibus-setup) και επιλέξτε το.</translation>
    </message>
    <message>
        <source>KIVO types only into X11 programs here. To type into every program, make it the virtual keyboard: System Settings, Input Devices, Virtual Keyboard, KIVO; then apply.</source>
        <translation>Εδώ το KIVO γράφει μόνο σε προγράμματα X11. Για να γράφει σε κάθε πρόγραμμα, ορίστε το ως εικονικό πληκτρολόγιο: Ρυθμίσεις συστήματος, Συσκευές εισόδου, Εικονικό πληκτρολόγιο, KIVO· έπειτα Εφαρμογή.</translation>
    </message>
</context>
<context>
    <name>TCommandLine</name>
    <message>
        <source>An on-screen keyboard for polytonic Greek: click a letter, then its breathing, accent or
iota subscript, and KIVO types them into the program you are writing in.</source>
        <translation>Πληκτρολόγιο οθόνης για το πολυτονικό σύστημα: πατήστε ένα γράμμα, έπειτα το πνεύμα, τον τόνο
ή την υπογεγραμμένη του, και το KIVO τα γράφει στο πρόγραμμα όπου εργάζεστε.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Εμφανίζει αυτή τη βοήθεια και τερματίζει.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Εμφανίζει την έκδοση και τερματίζει.</translation>
    </message>
    <message>
        <source>What the keys type. unicode: the Greek letters with their marks, as Unicode characters that every font and program can show. lumera: the 8-bit codes that the Lumera font draws as Greek. auto: lumera where that font is installed, else unicode. Without this option, the choice last made in KIVO&apos;s menu holds (else auto).</source>
        <translation>Τι γράφουν τα πλήκτρα. unicode: τα ελληνικά γράμματα με τα σημάδια τους, ως χαρακτήρες Unicode που τους δείχνει κάθε γραμματοσειρά και κάθε πρόγραμμα. lumera: οι κωδικοί των 8 bit που η γραμματοσειρά Lumera σχεδιάζει ως ελληνικά. auto: lumera όπου είναι εγκατεστημένη αυτή η γραμματοσειρά, αλλιώς unicode. Χωρίς αυτή την επιλογή ισχύει ό,τι επιλέχθηκε τελευταία στο μενού του KIVO (αλλιώς auto).</translation>
    </message>
    <message>
        <source>Open a keyboard of its own, even where KIVO runs already on this display (otherwise a later start brings the running one to the front).</source>
        <translation>Ανοίγει χωριστό πληκτρολόγιο, ακόμη κι αν το KIVO τρέχει ήδη σε αυτή την οθόνη (αλλιώς μια νέα εκκίνηση φέρνει μπροστά εκείνο που τρέχει).</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;: KIVO opens no files.</source>
        <translation>απρόσμενο όρισμα «%1»: το KIVO δεν ανοίγει αρχεία.</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Επιλογές:</translation>
    </message>
    <message>
        <source>Usage: kivo [options]</source>
        <translation>Χρήση: kivo [επιλογές]</translation>
    </message>
    <message>
        <source>--output takes unicode, lumera or auto, not &apos;%1&apos;.</source>
        <translation>το --output δέχεται unicode, lumera ή auto, όχι «%1».</translation>
    </message>
    <message>
        <source>Where KIVO types. wayland: natively on a wlroots desktop (sway and its kin), into every program there. x11: through the X server, on a Wayland desktop through XWayland (its programs only). Without this option, the session decides.</source>
        <translation>Πού γράφει το KIVO. wayland: απευθείας σε επιφάνεια εργασίας wlroots (το sway και τα συγγενή του), σε κάθε πρόγραμμά της. x11: μέσω του εξυπηρετητή X, και σε επιφάνεια εργασίας Wayland μέσω του XWayland (μόνο στα δικά του προγράμματα). Χωρίς αυτή την επιλογή αποφασίζει η συνεδρία.</translation>
    </message>
    <message>
        <source>--platform takes x11 or wayland, not &apos;%1&apos;.</source>
        <translation>το --platform δέχεται x11 ή wayland, όχι «%1».</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;.</source>
        <translation>άγνωστη επιλογή «%1».</translation>
    </message>
    <message>
        <source>unknown options: %1.</source>
        <translation>άγνωστες επιλογές: %1.</translation>
    </message>
</context>
<context>
    <name>TExtraKeys</name>
    <message>
        <source>More signs</source>
        <translation>Άλλα σημεία</translation>
    </message>
    <message>
        <source>Hide the extra keys</source>
        <translation>Απόκρυψη των πρόσθετων πλήκτρων</translation>
    </message>
    <message>
        <source>Show the extra keys: high stop, elision, guillemets, macron and breve, archaic letters, numeral signs and editorial signs</source>
        <translation>Εμφάνιση των πρόσθετων πλήκτρων: άνω στιγμή, απόστροφος της έκθλιψης, γωνιώδη εισαγωγικά, μακρό και βραχύ, αρχαϊκά γράμματα, αριθμητικά και εκδοτικά σημεία</translation>
    </message>
    <message>
        <source>5. EXTRA CHARACTERS. Click “More signs” at the right of the banner to show a row of extra keys; × hides it again, and KIVO remembers which you chose. Point at a key to read its name. From the left: the ano teleia · (the high stop); the elision mark ’ (the apostrophe Unicode recommends: not the smooth breathing) and beside it the koronis ᾽; the guillemets « »; the macron, the breve and the dot below; the archaic and numeral letters digamma ϝ Ϝ, stigma ϛ Ϛ, koppa ϙ Ϙ ϟ Ϟ and sampi ϡ Ϡ, and the lunate sigma ϲ Ϲ; the numeral signs ʹ and ͵; the editorial signs ⟨ ⟩ [ ] † and the paragraphos.

The macron, the breve and the dot below are marks, as the accents are: click the letter, then the mark (ᾱ ᾰ ῑ ῐ ῡ ῠ). With an accent or a breathing they come out in the order Unicode prescribes, the length mark next to the letter, whichever you click first (ᾱ́: alpha, macron, acute). Click the breathing before the accent, or the button that has both, and the dot below last.

6. MARKS BEFORE THE LETTER. A mark clicked where no letter typed by KIVO comes before it (at the start, after a space or a punctuation mark, after you typed or clicked in the other program) waits for the next letter, as a dead key does: its button is framed, and the next letter you click gets the mark. Click the button again, or Backspace, to take it back.</source>
        <translation>5. ΠΡΟΣΘΕΤΟΙ ΧΑΡΑΚΤΗΡΕΣ. Πατήστε «Άλλα σημεία» στα δεξιά της ταινίας για να εμφανιστεί μια σειρά πρόσθετων πλήκτρων· το × την κρύβει πάλι, και το KIVO θυμάται τι επιλέξατε. Φέρτε τον δείκτη πάνω σε ένα πλήκτρο για να διαβάσετε το όνομά του. Από αριστερά: η άνω τελεία · (η άνω στιγμή)· το σημείο της έκθλιψης ’ (η απόστροφος που συνιστά το Unicode, όχι η ψιλή) και δίπλα του η κορωνίς ᾽· τα εισαγωγικά « »· το μακρό, το βραχύ και η τελεία κάτω από το γράμμα· τα αρχαϊκά και τα αριθμητικά γράμματα δίγαμμα ϝ Ϝ, στίγμα ϛ Ϛ, κόππα ϙ Ϙ ϟ Ϟ και σαμπί ϡ Ϡ, και το μηνοειδές σίγμα ϲ Ϲ· οι αριθμητικές κεραίες ʹ και ͵· τα εκδοτικά σημεία ⟨ ⟩ [ ] † και η παράγραφος.

Το μακρό, το βραχύ και η τελεία κάτω από το γράμμα είναι σημάδια, όπως οι τόνοι: πατήστε το γράμμα και έπειτα το σημάδι (ᾱ ᾰ ῑ ῐ ῡ ῠ). Μαζί με τόνο ή πνεύμα μπαίνουν με τη σειρά που ορίζει το Unicode, το σημείο της μακρότητας δίπλα στο γράμμα, όποιο κι αν πατήσετε πρώτο (ᾱ́: άλφα, μακρό, οξεία). Πατήστε το πνεύμα πριν από τον τόνο, ή το κουμπί που έχει και τα δύο, και την τελεία κάτω από το γράμμα τελευταία.

6. ΣΗΜΑΔΙΑ ΠΡΙΝ ΑΠΟ ΤΟ ΓΡΑΜΜΑ. Ένα σημάδι που πατιέται εκεί όπου δεν προηγείται γράμμα γραμμένο από το KIVO (στην αρχή, μετά από διάστημα ή σημείο στίξης, αφού γράψατε ή κάνατε κλικ στο άλλο πρόγραμμα) περιμένει το επόμενο γράμμα, όπως ένα νεκρό πλήκτρο: το κουμπί του πλαισιώνεται, και το επόμενο γράμμα που πατάτε παίρνει το σημάδι. Πατήστε ξανά το κουμπί, ή το Backspace, για να το πάρετε πίσω.</translation>
    </message>
    <message>
        <source>Ano teleia, the high stop (typed as U+00B7, the form Unicode&apos;s NFC gives it)</source>
        <translation>Άνω τελεία, η άνω στιγμή (γράφεται ως U+00B7, η μορφή που της δίνει η κανονικοποίηση NFC του Unicode)</translation>
    </message>
    <message>
        <source>Elision mark, the apostrophe Unicode recommends (U+2019)</source>
        <translation>Σημείο έκθλιψης, η απόστροφος που συνιστά το Unicode (U+2019)</translation>
    </message>
    <message>
        <source>Koronis (U+1FBD)</source>
        <translation>Κορωνίς (U+1FBD)</translation>
    </message>
    <message>
        <source>Opening guillemet (U+00AB)</source>
        <translation>Εισαγωγικό ανοίγματος (U+00AB)</translation>
    </message>
    <message>
        <source>Closing guillemet (U+00BB)</source>
        <translation>Εισαγωγικό κλεισίματος (U+00BB)</translation>
    </message>
    <message>
        <source>Macron, a long vowel: a mark, clicked after the letter or before it (U+0304)</source>
        <translation>Μακρό, μακρό φωνήεν: σημάδι, πατιέται μετά από το γράμμα ή πριν από αυτό (U+0304)</translation>
    </message>
    <message>
        <source>Breve, a short vowel: a mark, clicked after the letter or before it (U+0306)</source>
        <translation>Βραχύ, βραχύ φωνήεν: σημάδι, πατιέται μετά από το γράμμα ή πριν από αυτό (U+0306)</translation>
    </message>
    <message>
        <source>Dot below, an uncertain letter: a mark, clicked after the letter&apos;s other marks (U+0323)</source>
        <translation>Τελεία κάτω από το γράμμα, αβέβαιη ανάγνωση: σημάδι, πατιέται μετά από τα άλλα σημάδια του γράμματος (U+0323)</translation>
    </message>
    <message>
        <source>Digamma (U+03DD)</source>
        <translation>Δίγαμμα (U+03DD)</translation>
    </message>
    <message>
        <source>Capital digamma (U+03DC)</source>
        <translation>Κεφαλαίο δίγαμμα (U+03DC)</translation>
    </message>
    <message>
        <source>Stigma, the numeral 6 (U+03DB)</source>
        <translation>Στίγμα, ο αριθμός 6 (U+03DB)</translation>
    </message>
    <message>
        <source>Capital stigma (U+03DA)</source>
        <translation>Κεφαλαίο στίγμα (U+03DA)</translation>
    </message>
    <message>
        <source>Archaic koppa (U+03D9)</source>
        <translation>Αρχαϊκό κόππα (U+03D9)</translation>
    </message>
    <message>
        <source>Capital archaic koppa (U+03D8)</source>
        <translation>Κεφαλαίο αρχαϊκό κόππα (U+03D8)</translation>
    </message>
    <message>
        <source>Koppa, the numeral 90 (U+03DF)</source>
        <translation>Κόππα, ο αριθμός 90 (U+03DF)</translation>
    </message>
    <message>
        <source>Capital koppa (U+03DE)</source>
        <translation>Κεφαλαίο κόππα (U+03DE)</translation>
    </message>
    <message>
        <source>Sampi, the numeral 900 (U+03E1)</source>
        <translation>Σαμπί, ο αριθμός 900 (U+03E1)</translation>
    </message>
    <message>
        <source>Capital sampi (U+03E0)</source>
        <translation>Κεφαλαίο σαμπί (U+03E0)</translation>
    </message>
    <message>
        <source>Lunate sigma (U+03F2)</source>
        <translation>Μηνοειδές σίγμα (U+03F2)</translation>
    </message>
    <message>
        <source>Capital lunate sigma (U+03F9)</source>
        <translation>Κεφαλαίο μηνοειδές σίγμα (U+03F9)</translation>
    </message>
    <message>
        <source>Numeral sign, after a numeral (typed as U+02B9, the form NFC gives U+0374)</source>
        <translation>Αριθμητική κεραία, μετά από τον αριθμό (γράφεται ως U+02B9, η μορφή που δίνει η NFC στο U+0374)</translation>
    </message>
    <message>
        <source>Lower numeral sign, before thousands (U+0375)</source>
        <translation>Κάτω αριθμητική κεραία, πριν από τις χιλιάδες (U+0375)</translation>
    </message>
    <message>
        <source>Opening angle bracket, letters the editor adds (U+27E8)</source>
        <translation>Γωνιώδης αγκύλη ανοίγματος, γράμματα που προσθέτει ο εκδότης (U+27E8)</translation>
    </message>
    <message>
        <source>Closing angle bracket (U+27E9)</source>
        <translation>Γωνιώδης αγκύλη κλεισίματος (U+27E9)</translation>
    </message>
    <message>
        <source>Opening square bracket, letters lost (U+005B)</source>
        <translation>Αγκύλη ανοίγματος, γράμματα που χάθηκαν (U+005B)</translation>
    </message>
    <message>
        <source>Closing square bracket (U+005D)</source>
        <translation>Αγκύλη κλεισίματος (U+005D)</translation>
    </message>
    <message>
        <source>Dagger, a corrupt passage (U+2020)</source>
        <translation>Σταυρός, εφθαρμένο χωρίο (U+2020)</translation>
    </message>
    <message>
        <source>Paragraphos (U+2E0F)</source>
        <translation>Παράγραφος (U+2E0F)</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Lumera On-Screen Keyboard</source>
        <translation>Πληκτρολόγιο οθόνης Lumera</translation>
    </message>
    <message>
        <source>About KIVO</source>
        <translation>Σχετικά με το KIVO</translation>
    </message>
    <message>
        <source>LUMERA ON-SCREEN KEYBOARD</source>
        <translation>ΠΛΗΚΤΡΟΛΟΓΙΟ ΟΘΟΝΗΣ LUMERA</translation>
    </message>
    <message>
        <source>How to use KIVO</source>
        <translation>Οδηγίες χρήσης</translation>
    </message>
    <message>
        <source>&amp;Reset position</source>
        <translation>&amp;Επαναφορά θέσης</translation>
    </message>
    <message>
        <source>KIVO Polytonic Greek Keyboard</source>
        <translation>KIVO – Πληκτρολόγιο για το πολυτονικό</translation>
    </message>
    <message>
        <source>KIVO POLYTONIC GREEK KEYBOARD</source>
        <translation>KIVO · ΠΟΛΥΤΟΝΙΚΟ ΠΛΗΚΤΡΟΛΟΓΙΟ</translation>
    </message>
    <message>
        <source>Type Unicode Greek</source>
        <translation>Γραφή ελληνικών σε Unicode</translation>
    </message>
    <message>
        <source>Type Lumera font codes</source>
        <translation>Γραφή κωδικών της γραμματοσειράς Lumera</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>About KIVO</source>
        <translation>Σχετικά με το KIVO</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Εντάξει</translation>
    </message>
    <message>
        <source>KIVO Version 1.0.

By the KIVO developers.

Copyright December 2026, 
the KIVO developers. You 
may pass it on to others 
unchanged, and with this 
notice, as long as no fee 
is asked for it. Updates 
are found on the web at: 
the project&apos;s repository.</source>
        <translation>KIVO, έκδοση 1.0.

Από τους δημιουργούς 
του KIVO.

© Δεκέμβριος 2026, οι 
δημιουργοί του KIVO. 
Επιτρέπεται η διανομή 
του αμετάβλητου, με αυτή 
τη σημείωση, χωρίς 
αμοιβή. Νέες εκδόσεις στο 
αποθετήριο του έργου.</translation>
    </message>
</context>
<context>
    <name>TForm4</name>
    <message>
        <source>How to use KIVO</source>
        <translation>Οδηγίες χρήσης του KIVO</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Κλείσιμο</translation>
    </message>
    <message>
        <source>2. THE LETTER FIRST, THEN ITS MARKS. Click the letter, then its breathing, accent, iota subscript or diaeresis on the buttons to the right of the keypad. Each mark joins the letter typed just before it: α, then the smooth breathing with acute, gives ἄ; η, then the rough breathing with circumflex and the iota subscript, gives ᾗ. Capitals take their marks in the same way: Α, then the rough breathing, gives Ἁ.</source>
        <translation>2. ΠΡΩΤΑ ΤΟ ΓΡΑΜΜΑ, ΕΠΕΙΤΑ ΤΑ ΣΗΜΑΔΙΑ ΤΟΥ. Πατήστε το γράμμα και έπειτα το πνεύμα, τον τόνο, την υπογεγραμμένη ή τα διαλυτικά του στα κουμπιά δεξιά από τα πλήκτρα. Κάθε σημάδι μπαίνει στο γράμμα που γράφτηκε ακριβώς πριν: το α και έπειτα η ψιλή με την οξεία δίνουν ἄ· το η, έπειτα η δασεία με την περισπωμένη και η υπογεγραμμένη δίνουν ᾗ. Τα κεφαλαία παίρνουν τα σημάδια τους με τον ίδιο τρόπο: το Α και έπειτα η δασεία δίνουν Ἁ.</translation>
    </message>
    <message>
        <source>3. BACKSPACE. Right after a mark, the ⌫ key takes that mark off the letter again and leaves the letter; the next click deletes the letter itself. Held down, it repeats like the key of your own keyboard.</source>
        <translation>3. ΔΙΟΡΘΩΣΗ. Αμέσως μετά από ένα σημάδι, το πλήκτρο ⌫ αφαιρεί πάλι αυτό το σημάδι και αφήνει το γράμμα· το επόμενο πάτημα σβήνει το ίδιο το γράμμα. Όσο μένει πατημένο, επαναλαμβάνεται όπως το πλήκτρο του δικού σας πληκτρολογίου.</translation>
    </message>
    <message>
        <source>
1. RESIZE your word-processing window, e.g. in Notepad or Word, so that it is located where 
it is visible above the KIVO keypad.

2. SET THE FONT in the word-processing program to Lumera in the required size and style 
then use KIVO just like a normal keyboard, ensuring that the cursor is always active in the 
word-processing window before typing. Please note: the keypad will flicker momentarily when 
you type a letter, but this is normal. (This is in order for Windows to relocate the last active 
program.)

3. USE OF ACCENTS.  Set the cursor after a letter and hit an accent key. The accent will 
appear above the letter. (Similarly to type the iota subscript and breathings.) Hitting the 
backspace (or delete) key will delete the accent, etc., first; hitting the key again will delete 
the letter. Sometimes, if you move the cursor away from the accent and then return to delete 
it, the accent may not be deleted. In that case, you can try using the delete key on your 
normal keyboard, or try selecting the accent, and a few surrounding letters, and deleting 
those. 

4. SPACING. If you want to use the soft breathing to represent an apostrophe, you will need 
to press the spacebar once to add a space between the apostrophe and the preceeding 
letter to space it correctly. Likewise, when a breathing or accent is placed at the beginning of 
a word, where a letter would normally be, you will have to add an extra space between the 
accent, etc., and the preceding word to space it correctly.</source>
        <extracomment>A translation may give whole paragraphs: the window wraps them.</extracomment>
        <translation>
1. ΜΕΓΕΘΟΣ ΠΑΡΑΘΥΡΟΥ. Ρυθμίστε το παράθυρο του επεξεργαστή κειμένου (π.χ. του Σημειωματάριου ή του Word) ώστε να φαίνεται πάνω από το πληκτρολόγιο του KIVO.

2. ΓΡΑΜΜΑΤΟΣΕΙΡΑ. Ορίστε στον επεξεργαστή κειμένου τη γραμματοσειρά Lumera στο μέγεθος και στο στυλ που θέλετε και γράφετε με το KIVO όπως με ένα κανονικό πληκτρολόγιο· ο δρομέας πρέπει πάντα να βρίσκεται στο παράθυρο του επεξεργαστή. Σημείωση: το πληκτρολόγιο τρεμοπαίζει στιγμιαία σε κάθε γράμμα· αυτό είναι φυσιολογικό (έτσι το σύστημα ξαναβρίσκει το πρόγραμμα που ήταν ενεργό τελευταίο).

3. ΤΟΝΟΙ ΚΑΙ ΠΝΕΥΜΑΤΑ. Τοποθετήστε τον δρομέα μετά από ένα γράμμα και πατήστε ένα πλήκτρο τόνου· ο τόνος εμφανίζεται πάνω από το γράμμα (το ίδιο με την υπογεγραμμένη και τα πνεύματα). Το Backspace (ή το Delete) σβήνει πρώτα τον τόνο και με δεύτερο πάτημα το γράμμα. Αν ο δρομέας μετακινήθηκε στο μεταξύ, ο τόνος ίσως δεν σβήνεται· δοκιμάστε τότε το Delete του δικού σας πληκτρολογίου ή επιλέξτε τον τόνο μαζί με μερικά γράμματα γύρω του και σβήστε τα.

4. ΔΙΑΣΤΗΜΑΤΑ. Αν χρησιμοποιείτε την ψιλή ως απόστροφο, πατήστε μία φορά το διάστημα ανάμεσα στην απόστροφο και στο προηγούμενο γράμμα. Ομοίως, όταν πνεύμα ή τόνος μπαίνει στην αρχή λέξης, στη θέση ενός γράμματος, προσθέστε ένα ακόμη διάστημα ανάμεσα στο σημάδι και στην προηγούμενη λέξη.</translation>
    </message>
    <message>
        <source>1. WHERE THE LETTERS GO. Click in the program you are writing in, then click the keys of KIVO. The keypad never takes the focus: every letter goes straight to the cursor of your program, and your own keyboard goes on typing there too.</source>
        <translation>1. ΠΟΥ ΓΡΑΦΟΥΝ ΤΑ ΓΡΑΜΜΑΤΑ. Κάντε κλικ στο πρόγραμμα όπου γράφετε και έπειτα πατήστε τα πλήκτρα του KIVO. Το πληκτρολόγιο οθόνης δεν παίρνει ποτέ την εστίαση: κάθε γράμμα πηγαίνει κατευθείαν στον δρομέα του προγράμματός σας, και το δικό σας πληκτρολόγιο εξακολουθεί να γράφει εκεί.</translation>
    </message>
    <message>
        <source>4. APOSTROPHE AND ELISION. The breathing buttons are marks, not apostrophes: clicked after a consonant, a smooth breathing sits on that consonant. For an elided word (δ’ ἐγώ, ἀλλ’ ὅμως) click the elision mark ’ in the row of extra characters (point 5), then a space. A breathing or accent at the start of a word belongs on its vowel: click the mark before the vowel or after it (point 6).</source>
        <translation>4. ΑΠΟΣΤΡΟΦΟΣ ΚΑΙ ΕΚΘΛΙΨΗ. Τα κουμπιά των πνευμάτων είναι σημάδια, όχι απόστροφοι: μια ψιλή μετά από σύμφωνο κάθεται πάνω σε εκείνο το σύμφωνο. Για λέξη με έκθλιψη (δ’ ἐγώ, ἀλλ’ ὅμως) πατήστε το σημείο της έκθλιψης ’ στη σειρά των πρόσθετων χαρακτήρων (σημείο 5) και έπειτα ένα διάστημα. Πνεύμα ή τόνος στην αρχή λέξης ανήκει στο φωνήεν της: πατήστε το σημάδι πριν από το φωνήεν ή μετά από αυτό (σημείο 6).</translation>
    </message>
</context>
<context>
    <name>kivo</name>
    <message>
        <source>Try &apos;kivo --help&apos; for more information.</source>
        <translation>Για περισσότερες πληροφορίες δώστε «kivo --help».</translation>
    </message>
    <message>
        <source>a KIVO is already running on this display but does not answer</source>
        <translation>σε αυτή την οθόνη τρέχει ήδη ένα KIVO, αλλά δεν αποκρίνεται</translation>
    </message>
    <message>
        <source>outside input cannot be watched; marks are typed as combining marks after the letter</source>
        <translation>τα πλήκτρα και τα κλικ έξω από το KIVO δεν μπορούν να παρακολουθηθούν· τα σημάδια γράφονται ως συνδυαζόμενα σημάδια μετά το γράμμα</translation>
    </message>
    <message>
        <source>no private runtime directory (XDG_RUNTIME_DIR): a second start will open a second keyboard</source>
        <translation>δεν υπάρχει ιδιωτικός κατάλογος εκτέλεσης (XDG_RUNTIME_DIR): μια δεύτερη εκκίνηση θα ανοίξει δεύτερο πληκτρολόγιο</translation>
    </message>
    <message>
        <source>cannot listen on %1: %2; a second start will open a second keyboard</source>
        <translation>δεν είναι δυνατή η αναμονή συνδέσεων στο %1: %2· μια δεύτερη εκκίνηση θα ανοίξει δεύτερο πληκτρολόγιο</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>άγνωστο σφάλμα</translation>
    </message>
    <message>
        <source>cannot open display %1: is an X server running and DISPLAY set?</source>
        <translation>δεν ανοίγει η οθόνη %1: τρέχει διακομιστής X και έχει οριστεί η DISPLAY;</translation>
    </message>
    <message>
        <source>the X server %1 has no XTest extension, so no keys can be typed</source>
        <translation>ο διακομιστής X %1 δεν έχει την επέκταση XTest, γι’ αυτό δεν μπορεί να γραφτεί κανένα πλήκτρο</translation>
    </message>
    <message>
        <source>the X server %1 has no XKEYBOARD extension, so its layout cannot be read</source>
        <translation>ο διακομιστής X %1 δεν έχει την επέκταση XKEYBOARD, γι’ αυτό δεν μπορεί να διαβαστεί η διάταξη του πληκτρολογίου του</translation>
    </message>
    <message>
        <source>cannot connect to the Wayland display %1</source>
        <translation>δεν είναι δυνατή η σύνδεση με την οθόνη Wayland %1</translation>
    </message>
    <message>
        <source>this Wayland desktop offers no virtual keyboard (zwp_virtual_keyboard_manager_v1)</source>
        <translation>αυτή η επιφάνεια εργασίας Wayland δεν προσφέρει εικονικό πληκτρολόγιο (zwp_virtual_keyboard_manager_v1)</translation>
    </message>
    <message>
        <source>this Wayland desktop has no seat to type on</source>
        <translation>αυτή η επιφάνεια εργασίας Wayland δεν έχει θέση εισόδου (seat) για να γράψει κανείς</translation>
    </message>
    <message>
        <source>the Wayland compositor refused KIVO&apos;s virtual keyboard</source>
        <translation>ο συνθέτης (compositor) του Wayland αρνήθηκε το εικονικό πληκτρολόγιο του KIVO</translation>
    </message>
    <message>
        <source>--platform=wayland: no Wayland compositor answers at WAYLAND_DISPLAY</source>
        <translation>--platform=wayland: κανένας συνθέτης Wayland δεν αποκρίνεται στο WAYLAND_DISPLAY</translation>
    </message>
    <message>
        <source>this Wayland desktop offers no layer shell (zwlr_layer_shell_v1) and no virtual keyboard (zwp_virtual_keyboard_manager_v1)</source>
        <translation>αυτή η επιφάνεια εργασίας Wayland δεν προσφέρει ούτε κέλυφος στρώσεων (zwlr_layer_shell_v1) ούτε εικονικό πληκτρολόγιο (zwp_virtual_keyboard_manager_v1)</translation>
    </message>
    <message>
        <source>this Wayland desktop offers no layer shell (zwlr_layer_shell_v1)</source>
        <translation>αυτή η επιφάνεια εργασίας Wayland δεν προσφέρει κέλυφος στρώσεων (zwlr_layer_shell_v1)</translation>
    </message>
    <message>
        <source>Qt&apos;s Wayland platform plugin is not installed (Debian: qt6-wayland)</source>
        <translation>δεν είναι εγκατεστημένο το πρόσθετο πλατφόρμας Wayland της Qt (Debian: qt6-wayland)</translation>
    </message>
    <message>
        <source>%1; typing through X11 (XWayland), into X11 programs only</source>
        <translation>%1· γράφει μέσω X11 (XWayland), μόνο σε προγράμματα X11</translation>
    </message>
    <message>
        <source>IBus did not give KIVO&apos;s engine its name: %1</source>
        <translation>το IBus δεν έδωσε στη μηχανή του KIVO το όνομά της: %1</translation>
    </message>
    <message>
        <source>the connection to KWin as its input method was lost; typing through X11 (XWayland), into X11 programs only</source>
        <translation>χάθηκε η σύνδεση με το KWin ως μέθοδος εισαγωγής του· γράφει μέσω X11 (XWayland), μόνο σε προγράμματα X11</translation>
    </message>
    <message>
        <source>not started by KWin as its input method (no WAYLAND_SOCKET)</source>
        <translation>δεν το ξεκίνησε το KWin ως μέθοδο εισαγωγής του (δεν υπάρχει WAYLAND_SOCKET)</translation>
    </message>
    <message>
        <source>the Wayland connection in WAYLAND_SOCKET does not answer</source>
        <translation>η σύνδεση Wayland στο WAYLAND_SOCKET δεν αποκρίνεται</translation>
    </message>
    <message>
        <source>the compositor at WAYLAND_SOCKET offers KIVO no input method (zwp_input_method_v1)</source>
        <translation>ο συνθέτης στο WAYLAND_SOCKET δεν προσφέρει στο KIVO μέθοδο εισαγωγής (zwp_input_method_v1)</translation>
    </message>
    <message>
        <source>cannot connect to the Wayland display wayland-0 (WAYLAND_DISPLAY is not set)</source>
        <translation>δεν είναι δυνατή η σύνδεση με την οθόνη Wayland wayland-0 (δεν έχει οριστεί η WAYLAND_DISPLAY)</translation>
    </message>
    <message>
        <source>the Wayland compositor offers Qt no layer shell (zwlr_layer_shell_v1)</source>
        <translation>ο συνθέτης του Wayland δεν προσφέρει στην Qt κέλυφος στρώσεων (zwlr_layer_shell_v1)</translation>
    </message>
    <message>
        <source>the connection that watches the desktop broke; marks are no longer composed</source>
        <translation>κόπηκε η σύνδεση που παρακολουθεί την επιφάνεια εργασίας· τα σημάδια δεν συντίθενται πια με τα γράμματα</translation>
    </message>
    <message>
        <source>the X server has no XInput 2.1 extension</source>
        <translation>ο διακομιστής X δεν έχει την επέκταση XInput 2.1</translation>
    </message>
    <message>
        <source>the X server refused to report raw input events</source>
        <translation>ο διακομιστής X αρνήθηκε να αναφέρει τα ακατέργαστα συμβάντα εισόδου</translation>
    </message>
    <message>
        <source>cannot open the display to watch the desktop</source>
        <translation>δεν ανοίγει η οθόνη για την παρακολούθηση της επιφάνειας εργασίας</translation>
    </message>
    <message>
        <source>X error in %1: %2 (request %3)</source>
        <translation>σφάλμα X κατά %1: %2 (αίτημα %3)</translation>
    </message>
    <message>
        <source>X error in %1: %2</source>
        <translation>σφάλμα X κατά %1: %2</translation>
    </message>
    <message>
        <source>the character %1 could not be typed after all</source>
        <translation>ο χαρακτήρας %1 τελικά δεν μπόρεσε να γραφτεί</translation>
    </message>
    <message>
        <source>cannot open a display: DISPLAY is not set; start KIVO from a desktop session</source>
        <translation>δεν ανοίγει οθόνη: δεν έχει οριστεί η DISPLAY· ξεκινήστε το KIVO μέσα από μια συνεδρία επιφάνειας εργασίας</translation>
    </message>
    <message>
        <source>the connection to the X server broke; no more keys can be typed</source>
        <translation>κόπηκε η σύνδεση με τον διακομιστή X· δεν μπορούν να γραφτούν άλλα πλήκτρα</translation>
    </message>
    <message>
        <source>the X server %1 refused the keyboard notifications</source>
        <translation>ο διακομιστής X %1 αρνήθηκε τις ειδοποιήσεις του πληκτρολογίου</translation>
    </message>
    <message>
        <source>the keyboard map of the X server %1 cannot be read for libxkbcommon</source>
        <translation>η αντιστοίχιση πληκτρολογίου του διακομιστή X %1 δεν διαβάζεται για τη libxkbcommon</translation>
    </message>
    <message>
        <source>the X server %1 did not give its keyboard map</source>
        <translation>ο διακομιστής X %1 δεν έδωσε την αντιστοίχιση του πληκτρολογίου του</translation>
    </message>
    <message>
        <source>the keyboard map could not be read; keeping the previous one</source>
        <translation>η αντιστοίχιση πληκτρολογίου δεν διαβάστηκε· κρατιέται η προηγούμενη</translation>
    </message>
</context>
</TS>
