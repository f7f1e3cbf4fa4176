#pragma once
// Private to the layer's sources: event plumbing shared by the controls.
#include "ui/Control.h"

#include <QString>
#include <functional>

class QMouseEvent;
class QWidget;

namespace lmrui {

// OnClick, OnDblClick and OnMouseMove of a control from the mouse on widget.
void WatchMouse(TControl* control, QWidget* widget);
// The control's OnMouseMove for a mouse-move event of its widget.
void DispatchMouseMove(TControl* control, const QMouseEvent* me);
// The Qt key as a virtual-key code (0 when it has none) and the shift state.
unsigned short VirtualKey(int qtKey, const QString& text);
TShiftState ShiftOf(int modifiers, int buttons = 0);
// Runs fn after every resize of widget.
void OnWidgetResize(QWidget* widget, std::function<void()> fn);

} // namespace lmrui
