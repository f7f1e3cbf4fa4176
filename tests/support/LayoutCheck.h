#pragma once
// Layout faults of a form on screen, as a user would see them: a control
// that lies partly outside its parent (cut off), a caption wider than its
// control, a caption that runs into a neighbour, a list whose columns need
// sideways scrolling, and a window that is not wholly on the screen.
#include <string>
#include <vector>

class TForm;

namespace lmrtest {

// One text per fault, naming the controls; empty when the form is sound.
std::vector<std::string> LayoutFaults(const TForm& form);

} // namespace lmrtest
