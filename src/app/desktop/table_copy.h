// Copying the analysis window's tables into a spreadsheet: extended row selection, Ctrl+C and a
// context menu (コピー, すべてコピー) that put the selected or all rows on the clipboard as
// tab-separated text with the header row. A cell that holds a value copies it as a plain number
// in SI base units (1500, 1.5e-09; per cent columns as per cent, the unit in the header), the
// rest their shown text.
#pragma once

#include <QString>

class QTableWidget;
class QTableWidgetItem;

namespace mirelto {

// The item data role of a cell's value as copied (a QString from PlainNumber), and of a header
// item's copied text where it differs from the shown one (a unit the column does not show).
inline constexpr int kCopiedTextRole = 0x0100 + 17;  // Qt::UserRole + 17

// A value to fifteen significant digits, trailing zeros dropped, in plain or e-notation
// ("1500", "1.5e-09"), no SI prefix; empty for NaN and infinities.
QString PlainNumber(double value);

// Makes `item` copy as `value` in SI base units.
void SetCopiedValue(QTableWidgetItem& item, double value);

// Rows selected (or every row), each cell's copied text, cells by tabs, lines by CR LF, the
// header first. Rows in table order, columns in the order shown.
QString TableText(const QTableWidget& table, bool allRows);

// Extended row selection, Ctrl+C (the selected rows) and a context menu with "コピー" and
// "すべてコピー", both to the platform's clipboard.
void MakeTableCopyable(QTableWidget& table);

}  // namespace mirelto
