#pragma once
// Layout faults of a form on screen, as a user would see them: a control
// that lies partly outside its parent (cut off) or on a group box's caption,
// a caption or an edit's text wider than its control, a caption that runs
// into a neighbour, two visible siblings on top of one another, a list whose
// columns need sideways scrolling, and a window that is not wholly on the
// screen.
#include <string>
#include <vector>

class TForm;

namespace lmrtest {

struct LayoutOptions {
    // The window must lie wholly on the screen's available area.
    bool windowOnScreen = true;
    // The form must be shown already (offscreen is enough): aligned panels
    // only have their sizes then, and a hidden form would show no fault.
    bool mustBeShown = true;
    // An edit's text must fit its box, not scroll inside it.
    bool editTextFits = true;
    // Pixels a control may stand over its parent's edge or a neighbour, or
    // lack for its text.
    int slack = 0;
};

// One text per fault, each starting with the name of the control at fault;
// empty when the form is sound.
std::vector<std::string> LayoutFaults(const TForm& form, const LayoutOptions& options = {});

} // namespace lmrtest
