// The design warnings of the analysed circuit under the response tab's figure table: one line
// each saying what is out of range and why it matters, worded here from the core's codes.
#pragma once

#include <QLabel>
#include <QString>

#include <mirelto/design/circuit.h>

namespace mirelto {

// The warnings one to a line, "" when there are none.
QString DesignWarningsText(const Circuit& circuit);

// The label shows the warnings of the circuit and is hidden when there are none.
void ShowDesignWarnings(QLabel& label, const Circuit& circuit);

}  // namespace mirelto
