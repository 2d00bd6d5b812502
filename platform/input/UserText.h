#pragma once
// What the input layer has to tell the user. The layer has no toolkit of its own, so it keeps
// each text untranslated: an English wording, marked for lupdate in the context "kivo", and the
// details that fill its %1, %2, ... The program turns it into the desktop's language, and a
// detail that is itself one of the marked wordings with it.
#include <string>
#include <vector>

// Spelt exactly as Qt's own, which may come before or after.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

struct TUserText {
    const char* Wording = nullptr;
    std::vector<std::string> Details;

    bool Empty() const { return !Wording; }
    std::string English() const;
};

// Wording with each %1 to %9 replaced by its detail, in one pass: a detail that itself holds
// "%2" (a display name, a server's error text) stays as it is.
std::string FilledIn(const std::string& Wording, const std::vector<std::string>& Details);

// A line for the user on the terminal, from wherever in the input layer it arises: "kivo: "
// and the text, in English unless the program has put its own sink in place.
using TUserTextSink = void (*)(const TUserText& Text);
void SetUserTextSink(TUserTextSink Sink);
void ReportToUser(const TUserText& Text);
