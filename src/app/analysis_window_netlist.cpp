#include "analysis_window_netlist.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>

#include <mirelto/design/circuit.h>
#include <mirelto/tools/netlist.h>

#include "error_display.h"
#include "platform.h"
#include "ui_analysis_window.h"

namespace mirelto {

NetlistPanel::NetlistPanel(Ui::TFormAnalysis& form, QObject* parent)
    : QObject(parent), form_(form) {
    form_.EditNetlist->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    form_.ButtonCopyNetlist->setEnabled(false);
    connect(form_.ButtonCopyNetlist, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { Copy(); }); });
}

void NetlistPanel::Follow(const AnalysisInput& input) {
    form_.LabelNetlistHint->hide();
    const ComponentValues parts = ComponentsOf(input.built);
    // SPICE takes the parts as they are; the netlist is only written for parts it can simulate.
    const bool simulable =
        std::all_of(parts.begin(), parts.end(), [](double v) { return std::isfinite(v) && v > 0; });
    text_ = simulable ? QString::fromStdString(SpiceNetlist(input.built)) : QString();
    form_.EditNetlist->setPlainText(text_);
    form_.LabelNetlistMessage->setVisible(!simulable);
    form_.ButtonCopyNetlist->setEnabled(simulable);
}

void NetlistPanel::Copy() {
    if (!text_.isEmpty()) {
        CurrentPlatform().SetClipboardText(text_);
    }
}

}  // namespace mirelto
