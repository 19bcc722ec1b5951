// The analysis window's op-amp: a part chosen from the table drives the GBW box, the noise tab
// (whose figures are the core's noise analysis of the calculated circuit with that part) and the
// signal-limit warnings (a part not stable as a follower, an amplitude over the output swing).
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cmath>
#include <memory>

#include <mirelto/tools/noise.h>
#include <mirelto/tools/opamp_table.h>

#include "analysis/analysis_window.h"
#include "analysis/response/analysis_window_response.h"
#include "analysis/response/noise_panel.h"
#include "analysis/response/op_amp_panel.h"
#include "app_test_support.h"
#include "calculator/analysis_input.h"
#include "calculator/main_window.h"
#include "desktop/table_copy.h"
#include "files/file_commands.h"

using namespace Qt::StringLiterals;

using mirelto::TFormAnalysis;
using mirelto::TFormMain;

namespace {

// The cell's value as it copies, read back as a number.
double CopiedValue(const QTableWidget& table, int row, int column) {
    return table.item(row, column)->data(mirelto::kCopiedTextRole).toString().toDouble();
}

// Types into a box and leaves it, as a user does.
void Type(QLineEdit& box, const QString& text) {
    box.setText(text);
    emit box.editingFinished();
}

}  // namespace

class TestAnalysisOpAmp : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<mirelto::test::FakePlatform> platform_;
    std::unique_ptr<TFormMain> form_;

    // 定数計算 of the default request with the analysis window open.
    TFormAnalysis* Calculated() {
        TFormAnalysis* window = mirelto::test::OpenAnalysis(*form_);
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        return window;
    }
    mirelto::AnalysisInput Input() const {
        return *mirelto::AnalysisInputFrom(mirelto::DesignState);
    }

  private slots:
    void init() { QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_)); }
    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    // Choosing a part fills the noise table: each source's RMS and the total are the core's
    // noise analysis of the calculated circuit with that part over the band typed (or the plotted
    // range); the part's GBW is in the GBW box, so the response curves take it too.
    void noiseOfPart_data() {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::addColumn<double>("bandLow");
        QTest::addColumn<double>("bandHigh");
        // clang-format off
        QTest::newRow("NE5532 audio band") << u"NE5532"_s << u"20"_s << u"20k"_s << 20.0 << 2e4;
        QTest::newRow("TL072 plotted range") << u"TL072"_s << QString() << QString() << 0.0 << 0.0;
        QTest::newRow("OP07C 10 Hz up") << u"OP07C"_s << u"10"_s << u"100k"_s << 10.0 << 1e5;
        // clang-format on
    }
    void noiseOfPart() {
        QFETCH(QString, part);
        QFETCH(QString, low);
        QFETCH(QString, high);
        QFETCH(double, bandLow);
        QFETCH(double, bandHigh);
        TFormAnalysis* window = Calculated();
        mirelto::NoisePanel& noise = window->NoiseTab();
        Type(noise.BandLowBox(), low);
        Type(noise.BandHighBox(), high);
        QVERIFY(window->OpAmpRow().ChoosePart(part));
        const mirelto::OpAmp* opAmp =
            mirelto::FindOpAmp(mirelto::BuiltInOpAmps(), part.toStdString());
        QVERIFY(opAmp);
        QCOMPARE(window->Response().OpAmpGbw(), opAmp->gbw);

        const mirelto::AnalysisInput analysed = Input();
        mirelto::NoiseInput input;
        input.circuit = analysed.built;
        input.opAmp = *opAmp;
        const mirelto::FrequencyRange plotted = mirelto::PlotRange(analysed);
        input.band = {bandLow > 0 ? bandLow : plotted.low, bandHigh > 0 ? bandHigh : plotted.high};
        const mirelto::NoiseResult expected = mirelto::AnalyseNoise(input);
        QVERIFY(expected.totalRms > 0);

        const QTableWidget& table = noise.Table();
        QCOMPARE(table.rowCount(), 7);
        for (int s = 0; s < 5; ++s) {
            QCOMPARE(CopiedValue(table, s, 1), expected.rms[s]);
        }
        QCOMPARE(table.item(5, 0)->text(), u"合計"_s);
        QCOMPARE(CopiedValue(table, 5, 1), expected.totalRms);
        QCOMPARE(CopiedValue(table, 6, 1), expected.dynamicRangeDb);
        QVERIFY(std::isfinite(expected.dynamicRangeDb));
        // Six curves: five sources and the total.
        QCOMPARE(noise.View().chart()->series().size(), 6);

        QTest::mouseClick(&noise.CopyButton(), Qt::LeftButton);
        const QStringList lines = platform_->copied.last().split(u"\r\n"_s, Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 8);
        QVERIFY(lines[6].startsWith(u"合計\t"_s));
    }

    // The response tab's figures are the analysis with the part's GBW, DC gain and output
    // resistance; typed figures leave the gain infinite again.
    void responseOfPart_data() {
        QTest::addColumn<QString>("part");
        QTest::newRow("NE5532") << u"NE5532"_s;
        QTest::newRow("OP07C") << u"OP07C"_s;
    }
    void responseOfPart() {
        QFETCH(QString, part);
        TFormAnalysis* window = Calculated();
        QVERIFY(window->OpAmpRow().ChoosePart(part));
        window->Response().Refresh();
        const mirelto::OpAmp* opAmp =
            mirelto::FindOpAmp(mirelto::BuiltInOpAmps(), part.toStdString());
        mirelto::AnalysisInput input = Input();
        input.points = mirelto::kPlotPoints;
        input.opAmpGbw = opAmp->gbw;
        const mirelto::FigureTable ideal = mirelto::MakeFigureTable(mirelto::Analyse(input), true);
        input.opAmpA0 = opAmp->a0;
        const mirelto::FigureTable real = mirelto::MakeFigureTable(mirelto::Analyse(input), true);
        QVERIFY(real.values != ideal.values);
        QCOMPARE(window->Response().Table().values, real.values);

        window->Response().SetOpAmpGbwText(u"1M"_s);
        window->Response().Refresh();
        input.opAmpGbw = 1e6;
        input.opAmpA0 = 0;
        QCOMPARE(window->Response().Table().values,
                 mirelto::MakeFigureTable(mirelto::Analyse(input), true).values);
    }

    // A band that is no band says how to type one and keeps the figures of the last one.
    void badBand_data() {
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::newRow("reversed") << u"20k"_s << u"20"_s;
        QTest::newRow("not a value") << u"abc"_s << u"20k"_s;
        QTest::newRow("negative") << u"-20"_s << QString();
    }
    void badBand() {
        QFETCH(QString, low);
        QFETCH(QString, high);
        TFormAnalysis* window = Calculated();
        mirelto::NoisePanel& noise = window->NoiseTab();
        QVERIFY(window->OpAmpRow().ChoosePart(u"NE5532"_s));
        const double total = noise.Result().totalRms;
        noise.SetBandTexts(low, high);
        QVERIFY(noise.MessageLabel().text().contains(u"帯域は"_s));
        QCOMPARE(noise.Result().totalRms, total);
        noise.SetBandTexts(u"20"_s, u"20k"_s);
        QVERIFY(!noise.MessageLabel().text().contains(u"帯域は"_s));
        QCOMPARE(noise.Result().band.low, 20.0);
    }

    // Typing another GBW after choosing a part goes back to typed figures: the noise table then
    // says the op-amp's noise is not known, and totals the resistors'.
    void typedGbwLeavesPart() {
        TFormAnalysis* window = Calculated();
        QVERIFY(window->OpAmpRow().ChoosePart(u"NE5532"_s));
        window->Response().SetOpAmpGbwText(u"1M"_s);
        QCOMPARE(window->OpAmpRow().PartBox().currentIndex(), 0);
        QCOMPARE(window->OpAmpRow().Current().gbw, 1e6);
        const QTableWidget& table = window->NoiseTab().Table();
        QCOMPARE(table.item(3, 1)->text(), u"不明"_s);
        QCOMPARE(table.item(4, 1)->text(), u"不明"_s);
        QCOMPARE(CopiedValue(table, 5, 1), window->NoiseTab().Result().totalRms);
    }

    // The signal-limit lines under the GBW box for a part and an amplitude (peak V) with the
    // supply (±V, empty: the part's).
    void signalWarnings_data() {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("amplitude");
        QTest::addColumn<QString>("supply");
        QTest::addColumn<QString>("expected");  // a word of the line, empty: no line
        // clang-format off
        QTest::newRow("LT1028 unstable") << u"LT1028"_s << QString() << QString() << u"利得 1"_s;
        QTest::newRow("NE5532 1 V") << u"NE5532"_s << u"1"_s << QString() << QString();
        QTest::newRow("NE5532 20 V over swing") << u"NE5532"_s << u"20"_s << QString() << u"出力振幅"_s;
        QTest::newRow("NE5532 4 V on 5 V") << u"NE5532"_s << u"4"_s << u"5"_s << u"出力振幅"_s;
        QTest::newRow("NE5532 2 V on 5 V") << u"NE5532"_s << u"2"_s << u"5"_s << QString();
        // clang-format on
    }
    void signalWarnings() {
        QFETCH(QString, part);
        QFETCH(QString, amplitude);
        QFETCH(QString, supply);
        QFETCH(QString, expected);
        TFormAnalysis* window = Calculated();
        mirelto::OpAmpPanel& opAmp = window->OpAmpRow();
        QVERIFY(opAmp.ChoosePart(part));
        Type(opAmp.AmplitudeBox(), amplitude);
        Type(opAmp.SupplyBox(), supply);
        const QLabel& label = opAmp.WarningLabel();
        QCOMPARE(label.isVisibleTo(window), !expected.isEmpty());
        QVERIFY(label.text().contains(expected));
        // With an amplitude, the margins of a part that gives its swing and slew rate.
        const QString margins = opAmp.MarginLabel().text();
        QCOMPARE(margins.contains(u"スルーレート"_s), !amplitude.isEmpty() && part != u"LT1028"_s);
        QCOMPARE(margins.contains(u"限界 ±"_s), !amplitude.isEmpty());
    }

    // A design file keeps the part, supply, amplitude and band, and shows them again after other
    // choices; a design without them has no op-amp setting.
    void designFileKeepsOpAmp() {
        TFormAnalysis* window = Calculated();
        mirelto::FileCommands& files = form_->Files();
        QVERIFY(!files.CurrentDesign().opAmp);
        mirelto::OpAmpPanel& opAmp = window->OpAmpRow();
        QVERIFY(opAmp.ChoosePart(u"NE5532"_s));
        opAmp.SetSignalTexts(u"4"_s, u"5"_s);
        window->NoiseTab().SetBandTexts(u"20"_s, u"20k"_s);
        const QString warnings = opAmp.WarningLabel().text();
        const double total = window->NoiseTab().Result().totalRms;
        QTemporaryDir dir;
        const QString path = dir.filePath(u"opamp.mirelto"_s);
        QVERIFY(files.SaveTo(path, form_.get()));
        const std::optional<mirelto::OpAmpSetting> saved = files.CurrentDesign().opAmp;
        QVERIFY(saved);
        QCOMPARE(saved->name, std::string("NE5532"));
        QCOMPARE(saved->amplitude, std::string("4"));

        QVERIFY(opAmp.ChoosePart(u"TL072"_s));
        opAmp.SetSignalTexts(QString(), QString());
        window->NoiseTab().SetBandTexts(QString(), QString());
        QVERIFY(files.OpenFile(path, form_.get()));
        QCOMPARE(opAmp.PartBox().currentText(), u"NE5532"_s);
        QCOMPARE(window->NoiseTab().BandHighBox().text(), u"20k"_s);
        QCOMPARE(files.CurrentDesign().opAmp, saved);
        QCOMPARE(opAmp.WarningLabel().text(), warnings);
        QCOMPARE(window->NoiseTab().Result().totalRms, total);
    }

    // The user's own table in the config directory adds its parts (and replaces a shipped part
    // of the same name); the noise is the core's with the part as the table reads it. A bad row
    // says which line, and the rows before it are kept.
    void userParts_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<bool>("problem");
        // clang-format off
        QTest::newRow("good") << "part,gbw_hz,en_nv_rthz,in_pa_rthz,supply_v,swing_low_v,swing_high_v\nMYAMP,2e6,10,1,12,1,1\n"_ba << false;
        QTest::newRow("bad third line") << "part,gbw_hz,en_nv_rthz\nMYAMP,2e6,10\nOTHER,x,1\n"_ba << true;
        // clang-format on
    }
    void userParts() {
        QFETCH(QByteArray, csv);
        QFETCH(bool, problem);
        QTemporaryDir config;
        QVERIFY(QDir(config.path()).mkpath(u"mirelto"_s));
        QFile file(config.filePath(u"mirelto/opamps.csv"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size());
        file.close();
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        TFormAnalysis* window = Calculated();
        qunsetenv("XDG_CONFIG_HOME");
        mirelto::OpAmpPanel& opAmp = window->OpAmpRow();
        QVERIFY(opAmp.ChoosePart(u"myamp"_s));
        QCOMPARE(opAmp.WarningLabel().text().contains(u"3 行目"_s), problem);

        const mirelto::OpAmpTableRead read =
            mirelto::ParseOpAmpTable(std::string_view(csv.constData(), csv.size()));
        mirelto::NoiseInput input;
        input.circuit = Input().built;
        input.opAmp = *mirelto::FindOpAmp(read.opAmps, "MYAMP");
        input.band = mirelto::PlotRange(Input());
        QCOMPARE(window->Response().OpAmpGbw(), 2e6);
        QCOMPARE(window->NoiseTab().Result().totalRms, mirelto::AnalyseNoise(input).totalRms);
    }

    // The unstable part's warning shows as soon as it is chosen, before any calculation, and
    // goes with another part.
    void unstableBeforeCalculation() {
        TFormAnalysis* window = mirelto::test::OpenAnalysis(*form_);
        mirelto::OpAmpPanel& opAmp = window->OpAmpRow();
        QVERIFY(opAmp.ChoosePart(u"LT1028"_s));
        QVERIFY(opAmp.WarningLabel().text().contains(u"LT1028"_s));
        QVERIFY(opAmp.ChoosePart(u"NE5532"_s));
        QVERIFY(opAmp.WarningLabel().text().isEmpty());
    }
};

MIRELTO_QTEST_MAIN(TestAnalysisOpAmp)
#include "tst_analysis_opamp.moc"
