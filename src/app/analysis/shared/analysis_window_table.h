// The analysis window's texts: the comparison table of requested and built figures (shown in
// the window and copied as tab-separated text), the op-amp warning line, and the SI texts of
// values. Formatting only: every figure comes from the core's AnalysisResult.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <mirelto/response/analysis.h>

namespace mirelto {

// Four significant digits with an SI prefix ("1.323k"); empty for NaN and infinities.
QString SignificantText(double value);

// The line over the comparison table that names the request it compares with: fa, fo, Q of the
// last successful constant calculation.
QString ComparedRequestText(const Figures& requested);

struct FigureTable {
    QStringList header;       // 項目, 要求, 実回路, 誤差 [%]
    QList<QStringList> rows;  // as many cells as the header
    // The same cells' values unrounded, in the row's unit (Hz, dB, per cent); NaN for the name
    // column and for cells without a value.
    QList<QList<double>> values;
};

// fa, fo, Q, -3 dB frequency, gain at fo and peak gain of the request (when there is one) and
// the built circuit with the built circuit's error against the request; with the op-amp curve,
// two more rows: the -3 dB frequency and the peak gain with that op-amp.
FigureTable MakeFigureTable(const AnalysisResult& result, bool hasRequest);

// The header and the rows as shown (SI texts), cells separated by tabs, every line ending in
// CR LF like the calculator's other copied text.
QString TabSeparated(const FigureTable& table);

// The warning line when the op-amp moves the -3 dB frequency or the peak gain too far; empty
// when it does not.
QString OpAmpWarningText(const AnalysisResult& result);

}  // namespace mirelto
