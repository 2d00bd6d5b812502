#pragma once
// The main window and KIVO's IBus engine: the composer forgets what it typed when the engine
// says the document may have changed, and on a Wayland desktop where only the engine reaches
// native programs, KIVO says once (in a tooltip that takes no focus, and on stderr) how to
// make it the input source while it is not.
#include <QObject>
#include <QString>

#include <memory>

class TForm1;

// Null when KIVO does not type through the IBus engine's backend.
std::unique_ptr<QObject> AttachIBusEngine(TForm1* Form);

// The hint for the desktop named by XDG_CURRENT_DESKTOP.
QString IBusEngineHint(const QString& CurrentDesktop);
