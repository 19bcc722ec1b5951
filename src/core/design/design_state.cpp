#include "mirelto/design/design_state.h"

namespace mirelto {

// Every number 0 and every flag false at start; the window sets IsLpf from its radio buttons.
DesignRecord DesignState{};

}  // namespace mirelto
