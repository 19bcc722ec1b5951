#include "analysis/response/analysis_window_response.h"

#include <QBuffer>
#include <QByteArray>
#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QTableWidget>
#include <QTimer>

#include <cmath>
#include <string_view>

#include <mirelto/values/value_text.h>

#include "analysis/response/analysis_window_warnings.h"
#include "analysis/shared/analysis_window_worker.h"
#include "desktop/error_display.h"
#include "desktop/platform.h"
#include "desktop/saving.h"
#include "desktop/table_copy.h"
#include "desktop/value_text_qt.h"
#include "ui_analysis_window.h"

namespace mirelto {

namespace {

QString PngFilter() {
    return ResponsePanel::tr("PNG 画像 (*.png)");
}

QString SvgFilter() {
    return ResponsePanel::tr("SVG 画像 (*.svg)");
}

}  // namespace

ResponsePanel::ResponsePanel(Ui::TFormAnalysis& form, QWidget& window)
    : QObject(&window), form_(form), window_(window), charts_(*form.ChartArea, *form.ChartGrid) {
    QHeaderView* header = form_.TableFigures->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setStretchLastSection(true);
    form_.TableFigures->verticalHeader()->setDefaultSectionSize(
        form_.TableFigures->fontMetrics().height() + 6);
    const auto guarded = [this](void (ResponsePanel::*handler)()) {
        return [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(form_.ButtonCopyImage, &QPushButton::clicked, this, guarded(&ResponsePanel::CopyImage));
    connect(form_.ButtonSaveImage, &QPushButton::clicked, this, guarded(&ResponsePanel::SaveImage));
    connect(form_.ButtonCopyTable, &QPushButton::clicked, this, guarded(&ResponsePanel::CopyTable));
    MakeTableCopyable(*form_.TableFigures);
    connect(form_.ButtonResetZoom, &QPushButton::clicked, this, [this] { charts_.ResetZoom(); });
    connect(form_.CheckPassBand, &QCheckBox::toggled, this,
            [this](bool on) { charts_.SetPassBandView(on); });
    connect(form_.EditGbw, &QLineEdit::editingFinished, this, guarded(&ResponsePanel::GbwEdited));
    ShowEmpty();
}

void ResponsePanel::Follow(const AnalysisInput& input) {
    input_ = input;
    stale_ = true;
    Post();
}

void ResponsePanel::WindowShown() {
    Post();
}

void ResponsePanel::Post() {
    if (posted_ || !stale_ || !window_.isVisible()) {
        return;
    }
    posted_ = true;
    QTimer::singleShot(0, this, [this] { RunGuarded([this] { Refresh(); }); });
}

void ResponsePanel::Refresh() {
    posted_ = false;
    if (!stale_ || !input_ || !window_.isVisible()) {
        return;
    }
    stale_ = false;
    AnalysisInput input = *input_;
    input.opAmpGbw = gbw_;
    input.opAmpA0 = a0_;
    input.opAmpOutputResistance = outputResistance_;
    input.points = kPlotPoints;
    ShowResult(Analyse(input), input.hasRequest);
    ShowDesignWarnings(*form_.LabelDesignWarnings, input.built);
}

void ResponsePanel::SetOpAmpGbwText(const QString& text) {
    form_.EditGbw->setText(text);
    GbwEdited();
}

void ResponsePanel::SetOpAmpExtras(double a0, double outputResistance) {
    if (a0 == a0_ && outputResistance == outputResistance_) {
        return;
    }
    a0_ = a0;
    outputResistance_ = outputResistance;
    if (input_) {
        stale_ = true;
        Post();
    }
}

void ResponsePanel::GbwEdited() {
    const QString text = form_.EditGbw->text().trimmed();
    double gbw = 0;
    QString message;
    if (!text.isEmpty()) {
        const double value = ParseText(text);
        if (std::isfinite(value) && value > 0) {
            gbw = value;
        } else {
            message = tr("GBW「%1」は値として読めません。1M のように正の値を入力して"
                         "ください (空欄: 理想オペアンプ)。")
                          .arg(QuotedInput(text));
        }
    }
    form_.LabelGbwMessage->setText(message);
    form_.LabelGbwMessage->setVisible(!message.isEmpty());
    if (gbw != gbw_) {
        gbw_ = gbw;
        if (input_) {
            stale_ = true;
            Post();
        }
        emit OpAmpGbwChanged(gbw_);
    }
}

void ResponsePanel::ShowEmpty() {
    hasResult_ = false;
    table_ = {};
    charts_.Clear();
    form_.LabelHint->show();
    form_.TableFigures->setRowCount(0);
    form_.LabelComparedRequest->hide();
    form_.LabelOpAmpWarning->hide();
    form_.LabelDesignWarnings->hide();
    for (QPushButton* button :
         {form_.ButtonCopyImage, form_.ButtonSaveImage, form_.ButtonCopyTable}) {
        button->setEnabled(false);
    }
}

void ResponsePanel::ShowResult(const AnalysisResult& result, bool hasRequest) {
    hasResult_ = true;
    form_.LabelHint->hide();
    // The lines mark the target: the request, or the circuit itself when there is none.
    const Figures& marked = hasRequest ? result.requestedFigures : result.builtFigures;
    charts_.Show(result, {marked.fa, marked.fo, marked.cutoff});

    table_ = MakeFigureTable(result, hasRequest);
    // After a transfer-function calculation the request may be an earlier one: name it.
    form_.LabelComparedRequest->setText(hasRequest ? ComparedRequestText(result.requestedFigures)
                                                   : QString());
    form_.LabelComparedRequest->setVisible(hasRequest);
    QTableWidget& table = *form_.TableFigures;
    table.setRowCount(static_cast<int>(table_.rows.size()));
    for (int row = 0; row < table_.rows.size(); ++row) {
        for (int column = 0; column < table_.header.size(); ++column) {
            auto* item = new QTableWidgetItem(table_.rows[row].value(column));
            if (column > 0) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                SetCopiedValue(*item, table_.values[row].value(column, std::nan("")));
            }
            table.setItem(row, column, item);
        }
    }

    const QString warning = OpAmpWarningText(result);
    form_.LabelOpAmpWarning->setText(warning);
    form_.LabelOpAmpWarning->setVisible(!warning.isEmpty());
    for (QPushButton* button :
         {form_.ButtonCopyImage, form_.ButtonSaveImage, form_.ButtonCopyTable}) {
        button->setEnabled(true);
    }
}

void ResponsePanel::CopyImage() {
    Refresh();
    if (hasResult_) {
        CurrentPlatform().SetClipboardImage(charts_.Image());
    }
}

void ResponsePanel::CopyTable() {
    Refresh();
    if (hasResult_) {
        CurrentPlatform().SetClipboardText(TableText(*form_.TableFigures, true));
    }
}

void ResponsePanel::SaveImage() {
    Refresh();
    if (!hasResult_) {
        return;
    }
    QString filter = PngFilter();
    QString path = CurrentPlatform().GetSaveFileName(
        &window_, tr("グラフを保存"), QStringLiteral("mirelto_response.png"),
        PngFilter() + QStringLiteral(";;") + SvgFilter(), &filter);
    if (path.isEmpty()) {
        return;
    }
    QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg")) {
        // A name typed without its type takes the type chosen in the dialog.
        suffix = filter == SvgFilter() ? QStringLiteral("svg") : QStringLiteral("png");
        path += QLatin1Char('.') + suffix;
    }
    // Drawn in memory, then written whole: a failure names the file and the system's reason.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (suffix == QLatin1String("svg")) {
        const QSize size = form_.ChartArea->size();
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QString(window_.windowTitle()).remove(QStringLiteral("[*]")));
        QPainter painter(&svg);
        charts_.Render(painter);
    } else {
        charts_.Image().save(&buffer, "PNG");
    }
    if (const QString reason = SaveWhole(path, bytes); !reason.isEmpty()) {
        ShowSaveFailure(path, reason, &window_);
    }
}

}  // namespace mirelto
