#pragma once

// Creates the program's six windows once, in their fixed order: the main window, the
// report form, the preview window, the entry editor, the personal settings and the about
// box. Each is reachable through its global pointer until DestroyForms.
void CreateForms();
void DestroyForms();
