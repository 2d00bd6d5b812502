#pragma once
// The base classes the components are written against. They are Qt's own: every control is a
// QWidget, every component a QObject, and ownership is Qt's parent/child ownership.
#include <functional>

class QObject;
class QWidget;

using TObject = QObject;
using TComponent = QObject;
using TControl = QWidget;
using TWinControl = QWidget;

// The plain notification every component fires (a click, a resize); Sender is the control.
using TNotifyEvent = std::function<void(TObject* Sender)>;
