#include "desktop/table_copy.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QTableWidget>

#include <array>
#include <charconv>
#include <cmath>

#include "desktop/error_display.h"
#include "desktop/platform.h"

namespace mirelto {

namespace {

QString CopiedText(const QTableWidgetItem* item) {
    if (item == nullptr) {
        return {};
    }
    const QVariant copied = item->data(kCopiedTextRole);
    return copied.isValid() ? copied.toString() : item->text();
}

void CopySelected(const QTableWidget& table) {
    if (table.selectionModel() && table.selectionModel()->hasSelection()) {
        CurrentPlatform().SetClipboardText(TableText(table, false));
    }
}

// Ctrl+C on the table: the selected rows, not the item view's own copy of the current cell.
class CopyKeyFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) {
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->matches(QKeySequence::Copy)) {
            return false;
        }
        if (type == QEvent::ShortcutOverride) {
            event->accept();  // a key press for the table, not a shortcut elsewhere
            return true;
        }
        const auto* table = qobject_cast<const QTableWidget*>(watched);
        RunGuarded([table] { CopySelected(*table); });
        return true;
    }
};

}  // namespace

QString PlainNumber(double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    // Fifteen digits, as many as every double keeps: a standard value computed as 6.8e-09 less
    // a few ulps copies as 6.8e-09.
    constexpr int kDigits = 15;
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::general, kDigits);
    return error == std::errc{} ? QString::fromLatin1(buffer.data(), end - buffer.data())
                                : QString();
}

void SetCopiedValue(QTableWidgetItem& item, double value) {
    item.setData(kCopiedTextRole, PlainNumber(value));
}

QString TableText(const QTableWidget& table, bool allRows) {
    const QString lineEnd = QStringLiteral("\r\n");
    // The columns in the order shown.
    const QHeaderView& shown = *table.horizontalHeader();
    QList<int> columns;
    for (int visual = 0; visual < table.columnCount(); ++visual) {
        columns << shown.logicalIndex(visual);
    }
    QStringList header;
    for (const int column : columns) {
        header << CopiedText(table.horizontalHeaderItem(column));
    }
    QString text = header.join(QLatin1Char('\t')) + lineEnd;
    const QItemSelectionModel* selection = table.selectionModel();
    for (int row = 0; row < table.rowCount(); ++row) {
        if (!allRows && !(selection && selection->isRowSelected(row, QModelIndex()))) {
            continue;
        }
        QStringList cells;
        for (const int column : columns) {
            cells << CopiedText(table.item(row, column));
        }
        text += cells.join(QLatin1Char('\t')) + lineEnd;
    }
    return text;
}

void MakeTableCopyable(QTableWidget& table) {
    table.setSelectionMode(QAbstractItemView::ExtendedSelection);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.installEventFilter(new CopyKeyFilter(&table));
    auto* copy = new QAction(QCoreApplication::translate("mirelto::TableCopy", "コピー"), &table);
    copy->setObjectName(QStringLiteral("ActionCopyRows"));
    auto* copyAll =
        new QAction(QCoreApplication::translate("mirelto::TableCopy", "すべてコピー"), &table);
    copyAll->setObjectName(QStringLiteral("ActionCopyAllRows"));
    QObject::connect(copy, &QAction::triggered, &table,
                     [&table] { RunGuarded([&table] { CopySelected(table); }); });
    QObject::connect(copyAll, &QAction::triggered, &table, [&table] {
        RunGuarded([&table] { CurrentPlatform().SetClipboardText(TableText(table, true)); });
    });
    table.addAction(copy);
    table.addAction(copyAll);
    table.setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace mirelto
