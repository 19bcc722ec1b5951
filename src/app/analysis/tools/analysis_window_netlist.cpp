#include "analysis/tools/analysis_window_netlist.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>

#include <mirelto/design/circuit.h>
#include <mirelto/tools/netlist.h>

#include "desktop/error_display.h"
#include "desktop/platform.h"
#include "desktop/saving.h"
#include "ui_analysis_window.h"

namespace mirelto {

NetlistPanel::NetlistPanel(Ui::TFormAnalysis& form, QWidget* window)
    : QObject(window), form_(form), window_(window) {
    form_.EditNetlist->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    form_.ButtonCopyNetlist->setEnabled(false);
    form_.ButtonSaveNetlist->setEnabled(false);
    connect(form_.ButtonCopyNetlist, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { Copy(); }); });
    connect(form_.ButtonSaveNetlist, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { Save(); }); });
}

void NetlistPanel::Follow(const AnalysisInput& input) {
    form_.LabelNetlistHint->hide();
    input_ = input;
    Show();
}

void NetlistPanel::SetOpAmpGbw(double gbw) {
    gbw_ = gbw;
    if (input_) {
        Show();
    }
}

void NetlistPanel::Show() {
    const ComponentValues parts = ComponentsOf(input_->built);
    // SPICE takes the parts as they are; the netlist is only written for parts it can simulate.
    const bool simulable =
        std::all_of(parts.begin(), parts.end(), [](double v) { return std::isfinite(v) && v > 0; });
    NetlistOptions options;
    options.opAmpGbw = gbw_;
    text_ = simulable ? QString::fromStdString(SpiceNetlist(input_->built, options)) : QString();
    form_.EditNetlist->setPlainText(text_);
    form_.LabelNetlistMessage->setVisible(!simulable);
    form_.ButtonCopyNetlist->setEnabled(simulable);
    form_.ButtonSaveNetlist->setEnabled(simulable);
}

void NetlistPanel::Copy() {
    if (!text_.isEmpty()) {
        CurrentPlatform().SetClipboardText(text_);
    }
}

void NetlistPanel::Save() {
    if (text_.isEmpty()) {
        return;
    }
    QString filter = tr("SPICE ネットリスト (*.cir)");
    QString path = CurrentPlatform().GetSaveFileName(
        window_, tr("ネットリストを保存"), QStringLiteral("filter.cir"),
        filter + QStringLiteral(";;") + tr("すべてのファイル (*)"), &filter);
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".cir");
    }
    const QString reason = SaveWhole(path, text_.toUtf8());
    if (!reason.isEmpty()) {
        ShowSaveFailure(path, reason, window_);
    }
}

}  // namespace mirelto
