#pragma once

#include <functional>

class QWidget;

namespace tavlo::test {

// Runs `action` on the next modal window that opens (a message box, the patch dialog, the About
// box; not the one open now, if any), from inside the event loop that window runs. The action must
// close the window. Fails the test if no such window opens within a few seconds.
void WhenModalOpens(std::function<void(QWidget*)> action);

// Presses the message box's button with this text ("OK", "&Yes", ...).
void PressButton(QWidget* window, const char* text);

}  // namespace tavlo::test
