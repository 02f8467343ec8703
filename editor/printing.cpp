// Printing the text.
#include "entry_points.h"

namespace tivra {

// Not built yet: commands 1006 "&Udskriv ..." and 1007 "Indstil printer ...".
LRESULT printCommand(Instance&, UINT) { return 0; }

}  // namespace tivra
