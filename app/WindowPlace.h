#pragma once
// Remembers where the user put a window. Once a move or a resize has come to rest, the window's
// outer bounds are stored (QSettings), so that a logout or a kill loses nothing; the next start
// puts the window back there if it still fits on a screen. A window at its default place stores
// nothing, and "forgetting" puts it back at its default place.
#include <QObject>
#include <QRect>
#include <QString>

#include <functional>

class QTimer;
class TForm;

class TWindowPlace : public QObject {
    Q_OBJECT

public:
    // Window stands at its default place, where PlaceByDefault puts it again.
    TWindowPlace(TForm& Window, QString SettingsKey, std::function<void()> PlaceByDefault);

    // The stored place if it fits on a screen, else nothing: the window keeps the place it has.
    void Restore();
    // Forgets the stored place and puts the window at its default place.
    void Reset();

    // How long the window must keep still before its place is stored.
    static constexpr int RestMilliseconds = 400;

    // The stored bounds; empty if none.
    QRect Stored() const;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void Store();

    TForm& Window;
    QString SettingsKey;
    std::function<void()> PlaceByDefault;
    // The bounds PlaceByDefault gave the window the last time.
    QRect DefaultBounds;
    QTimer* RestTimer = nullptr;
};
