// The seam between the calculator and the windows built on it. The analysis window and the design
// files read the calculator's design, change it and hear of its calculations through this
// interface alone; the main window implements it. Nothing here knows the main window's controls.
#pragma once

#include <QMetaObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>

#include <mirelto/design/circuit.h>
#include <mirelto/design/constant_calculation.h>
#include <mirelto/response/analysis.h>

#include "design_file.h"

class QObject;
class QWidget;

namespace mirelto {

// What the calculator shows, text for text as typed or shown: what a design file holds of it.
// The six parts and series go R1, R2, R3, C1, C2, C3 (kComponentCount).
struct DesignTexts {
    bool isLpf = true;
    std::array<QString, 3> request;               // fa, fo, Q
    std::array<QString, 3> result;                // the fa, fo, Q result boxes
    std::array<QString, kComponentCount> parts;   // R1..R3, C1..C3
    std::array<QString, kComponentCount> series;  // the selectors of R1..R3, C1..C3
    // The calculation that made the result shown; Unknown when no result stands.
    ResultCommand command = ResultCommand::Unknown;
    friend bool operator==(const DesignTexts&, const DesignTexts&) = default;
};

class DesignSource {
  public:
    // The window the design is shown in: messages about it are centred over it, design files are
    // dropped on it, and windows built on the calculator are owned by it.
    virtual QWidget& Window() = 0;

    // The circuit form the calculator is in (LPF or HPF).
    virtual bool IsLpf() const = 0;
    // What the constant calculation would read from the boxes now.
    virtual ConstantRequest CurrentRequest() const = 0;
    // Every box and selector as shown.
    virtual DesignTexts Texts() const = 0;
    // The input of the last successful calculation, for a window made after it; none before.
    virtual const std::optional<AnalysisInput>& LastResult() const = 0;

    // Shows a design as given (an opened file): its form, boxes and selectors. A result made by
    // `command` is shown again from the parts as given, without rounding anything again; without
    // one no result is valid: printing and copying wait for the next calculation.
    virtual void ShowTexts(const DesignTexts& design) = 0;
    // Writes fa, fo and Q into the request boxes (a preset), calculating nothing.
    virtual void ApplyRequest(const std::array<QString, 3>& request) = 0;
    // Switches to the form `isLpf`, writes the six part values and runs the transfer-function
    // calculation as its button does (guarded; a successful one is announced by OnCalculated).
    virtual void ApplyParts(bool isLpf, const std::array<QString, kComponentCount>& parts) = 0;

    // Notifications: `call` runs on each event while `context` lives, after the calculator's own
    // handling and in the order of subscription.
    // The form has changed (LPF and HPF).
    virtual QMetaObject::Connection OnModeChanged(QObject* context, std::function<void()> call) = 0;
    // A request or part box or a series selector has changed (not the result boxes).
    virtual QMetaObject::Connection OnInputEdited(QObject* context, std::function<void()> call) = 0;
    // A calculation has succeeded: what the analysis draws of it.
    virtual QMetaObject::Connection OnCalculated(
        QObject* context, std::function<void(const AnalysisInput&)> call) = 0;

  protected:
    DesignSource() = default;
    ~DesignSource() = default;
    DesignSource(const DesignSource&) = default;
    DesignSource& operator=(const DesignSource&) = default;
};

}  // namespace mirelto
