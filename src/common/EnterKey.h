#pragma once

class QWidget;

namespace orivel {

// Lets Enter press the push button that has the focus, in every one of the window's push
// buttons, as on the platform the program was designed for; the other keys keep their
// meaning. A button that takes the focus other than by the mouse shows its focus frame,
// so that the user can see which button Enter will press.
void pressFocusedButtonOnEnter(QWidget* window);

}  // namespace orivel
