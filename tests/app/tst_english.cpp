// The windows on an English desktop: every text a user reads is English (no kana, kanji or
// full-width forms in a caption, label, button, hint, item, header, plot or message), every text
// fits its control, the messages of the calculation commands in English with their types, and
// the choice of language from the desktop's locale and MIRELTO_LANG.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTableWidget>

#include <memory>

#include <mirelto/design/design_state.h>

#include "analysis/analysis_window.h"
#include "analysis/tools/analysis_window_optimise.h"
#include "analysis/tools/analysis_window_tolerance.h"
#include "app_test_support.h"
#include "calculator/help_window.h"
#include "calculator/main_window.h"
#include "desktop/language.h"
#include "files/file_commands.h"

using namespace Qt::StringLiterals;

using mirelto::Language;
using mirelto::TFormAnalysis;
using mirelto::TFormMain;

Q_DECLARE_METATYPE(mirelto::Language)

namespace {

// Hiragana, katakana, CJK ideographs (and their extension A), CJK symbols and full-width forms.
bool HasJapanese(const QString& text) {
    static const QRegularExpression japanese(QStringLiteral(
        "[\\x{3000}-\\x{30FF}\\x{3400}-\\x{4DBF}\\x{4E00}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
    return text.contains(japanese);
}

// One text a user can read, where it was found, and the width it has to fit in (0: it wraps or
// scrolls, only the language counts).
struct Shown {
    QString where;
    QString text;
    int room = 0;
    QFont font;
    int width = -1;  // the text's width in `font` unless given
};

int ButtonRoom(const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    const auto element =
        qobject_cast<const QRadioButton*>(&button)
            ? QStyle::SE_RadioButtonContents
            : (qobject_cast<const QPushButton*>(&button) ? QStyle::SE_PushButtonContents
                                                         : QStyle::SE_CheckBoxContents);
    return button.style()->subElementRect(element, &option, &button).width();
}

int EditRoom(const QLineEdit& edit) {
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit);
    const QMargins margins = edit.textMargins();
    constexpr int kLineEditMargin = 2;  // the edit's own padding left and right of its text
    return edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit).width() -
           margins.left() - margins.right() - 2 * kLineEditMargin;
}

int ComboRoom(const QComboBox& combo) {
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    return combo.style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo)
        .width();
}

// Every text of the window and its children, with the room each has; widths only for widgets
// shown on screen.
QList<Shown> TextsOf(QWidget& window) {
    QList<Shown> texts;
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* w : widgets) {
        const bool visible = w->isVisibleTo(&window) && w->window()->isVisible();
        const QString name = w->objectName().isEmpty()
                                 ? QString::fromLatin1(w->metaObject()->className())
                                 : w->objectName();
        const auto add = [&](const QString& what, const QString& text, int room) {
            if (!text.isEmpty()) {
                texts.append({name + QLatin1Char('.') + what, text, visible ? room : 0, w->font()});
            }
        };
        add(u"toolTip"_s, w->toolTip(), 0);
        add(u"windowTitle"_s, w->windowTitle(), 0);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            add(u"text"_s, label->text(),
                label->wordWrap() ? 0 : label->contentsRect().width() - 2 * label->margin());
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            add(u"text"_s, button->text(), ButtonRoom(*button));
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            if (!qobject_cast<QComboBox*>(edit->parentWidget())) {
                add(u"text"_s, edit->text(), EditRoom(*edit));
                add(u"placeholder"_s, edit->placeholderText(), EditRoom(*edit));
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i) {
                add(u"item%1"_s.arg(i), combo->itemText(i), ComboRoom(*combo));
            }
        } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
            add(u"title"_s, box->title(), 0);
        } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                add(u"tab%1"_s.arg(i), tabs->tabText(i), 0);
            }
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
            add(u"text"_s, text->toPlainText(), 0);
            add(u"placeholder"_s, text->placeholderText(), 0);
        } else if (qobject_cast<QMenuBar*>(w) || qobject_cast<QMenu*>(w)) {
            for (const QAction* action : w->actions()) {
                add(u"action"_s, action->text(), 0);
            }
        } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
            // Its columns side by side: the room the table has for them, less nothing to scroll.
            // The search's table lists every part and figure of a row and scrolls sideways in
            // either language; its texts are still checked one by one below.
            if (visible && name != QLatin1String("TableOptimise")) {
                QString columns;
                for (int c = 0; c < table->columnCount(); ++c) {
                    columns += u"%1 "_s.arg(table->horizontalHeader()->sectionSize(c));
                }
                texts.append({name + u".columns"_s, columns, table->viewport()->width(), QFont()});
                texts.last().width = table->horizontalHeader()->length();
            }
            for (int c = 0; c < table->columnCount(); ++c) {
                if (const QTableWidgetItem* item = table->horizontalHeaderItem(c)) {
                    add(u"header%1"_s.arg(c), item->text(), 0);
                }
            }
            for (int r = 0; r < table->rowCount(); ++r) {
                if (const QTableWidgetItem* item = table->verticalHeaderItem(r)) {
                    add(u"rowHeader%1"_s.arg(r), item->text(), 0);
                }
                for (int c = 0; c < table->columnCount(); ++c) {
                    if (const QTableWidgetItem* item = table->item(r, c)) {
                        add(u"cell%1,%2"_s.arg(r).arg(c), item->text(), 0);
                        add(u"cellTip%1,%2"_s.arg(r).arg(c), item->toolTip(), 0);
                    }
                }
            }
        } else if (auto* view = qobject_cast<QChartView*>(w)) {
            const QChart* chart = view->chart();
            add(u"chartTitle"_s, chart->title(), 0);
            for (const QAbstractAxis* axis : chart->axes()) {
                add(u"axisTitle"_s, axis->titleText(), 0);
            }
            for (const QAbstractSeries* series : chart->series()) {
                add(u"series"_s, series->name(), 0);
            }
        }
    }
    return texts;
}

// Fails on the first text that is Japanese or wider than its room.
void CheckEnglishAndFitting(QWidget& window) {
    const QList<Shown> texts = TextsOf(window);
    QVERIFY(!texts.isEmpty());
    for (const Shown& shown : texts) {
        QVERIFY2(!HasJapanese(shown.text), qPrintable(shown.where + u": "_s + shown.text));
        if (shown.room > 0) {
            const int width = shown.width >= 0
                                  ? shown.width
                                  : QFontMetrics(shown.font).horizontalAdvance(shown.text);
            if (qEnvironmentVariableIsSet("MIRELTO_TEST_SHOW_FIT")) {
                qInfo("%s \"%s\": %d px in %d px", qPrintable(shown.where), qPrintable(shown.text),
                      width, shown.room);
            }
            QVERIFY2(width <= shown.room,
                     qPrintable(u"%1 \"%2\": %3 px in %4 px"_s.arg(shown.where, shown.text)
                                    .arg(width)
                                    .arg(shown.room)));
        }
    }
}

}  // namespace

class TestEnglish : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<mirelto::test::FakePlatform> platform_;
    std::unique_ptr<TFormMain> form_;

  private slots:
    void init() { QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_)); }
    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    // An English desktop (at the scale QT_SCALE_FACTOR asks for); the main window; English,
    // with the version in the caption, at its fixed size.
    void languageAndScale() {
        QCOMPARE(mirelto::CurrentLanguage(), Language::English);
        QCOMPARE(form_->devicePixelRatio(),
                 qEnvironmentVariable("QT_SCALE_FACTOR", u"1"_s).toDouble());
        QCOMPARE(form_->windowTitle(), u"3rd-order LPF/HPF Ver1.00"_s);
        QCOMPARE(form_->size(), QSize(352, 392));
    }

    // The main window in either mode, before and after a calculation; every text English and
    // whole in its control.
    void mainWindow_data() {
        QTest::addColumn<bool>("lpf");
        QTest::newRow("LPF") << true;
        QTest::newRow("HPF") << false;
    }
    void mainWindow() {
        QFETCH(bool, lpf);
        QTest::mouseClick(lpf ? form_->RadioButtonLpf : form_->RadioButtonHPF, Qt::LeftButton);
        CheckEnglishAndFitting(*form_);
        if (QTest::currentTestFailed()) {
            return;
        }
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        QVERIFY(form_->ButtonCopy->isEnabled());
        CheckEnglishAndFitting(*form_);
        QCOMPARE(form_->LabelR->text(), lpf ? u"Given"_s : u"Result"_s);
    }

    // The help window; English, the same 28 lines with the value notation, title "Help".
    void helpWindow() {
        QTest::mouseClick(form_->Label19, Qt::LeftButton, {}, QPoint(25, 6));
        QVERIFY(mirelto::FormHelp && mirelto::FormHelp->isVisible());
        CheckEnglishAndFitting(*mirelto::FormHelp);
        const QString text = mirelto::FormHelp->Memo1->toPlainText();
        QCOMPARE(text.split(QLatin1Char('\n')).size(), 28);
        QVERIFY(text.contains(u"n,u,m,k,M,G,T"_s));
        QVERIFY(text.contains(u"1.2e-6"_s));
        QCOMPARE(mirelto::FormHelp->windowTitle(), u"Help"_s);
    }

    // The analysis window after the default calculation with an op-amp, a search and a tolerance
    // run; every tab English and whole.
    void analysisWindow() {
        TFormAnalysis* window = mirelto::test::OpenAnalysis(*form_);
        QVERIFY(window && window->isVisible());
        CheckEnglishAndFitting(*window);
        if (QTest::currentTestFailed()) {
            return;
        }
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        window->EditGbw->setText(u"100k"_s);
        QTest::keyClick(window->EditGbw, Qt::Key_Return);
        window->TabAnalysis->setCurrentWidget(window->TabOptimise);
        QTest::mouseClick(window->ButtonOptimiseRun, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !window->OptimiseTab().IsRunning(); }, 20000));
        QVERIFY(window->TableOptimise->rowCount() > 0);
        window->TabAnalysis->setCurrentWidget(window->TabTolerance);
        QTest::mouseClick(window->ButtonToleranceRun, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !window->ToleranceTab().IsRunning(); }, 20000));
        for (int tab = 0; tab < window->TabAnalysis->count(); ++tab) {
            window->TabAnalysis->setCurrentIndex(tab);
            QTest::qWait(50);  // the plots draw once shown
            CheckEnglishAndFitting(*window);
            if (QTest::currentTestFailed()) {
                return;
            }
        }
    }

    // Each message of the calculation commands; run the command that shows it; the box's
    // English text and type.
    void commandMessages_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("lpf");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("message");
        const QString calc = u"ButtonCalc"_s;
        const QString tf = u"ButtonTF"_s;
        const QString warning = u"Warning"_s;
        const QString error = u"Error"_s;
        // clang-format off
        QTest::newRow("fa missing") << "EditFa" << "" << true << calc << warning << "Please enter a value for fa";
        QTest::newRow("fo missing") << "EditFo" << "abc" << true << calc << warning << "Please enter a value for fo";
        QTest::newRow("Q missing") << "EditQ" << "" << true << calc << warning << "Please enter a value for Q";
        QTest::newRow("Q zero") << "EditQ" << "0" << true << calc << error << "Transfer-function parameters of zero or less are invalid";
        QTest::newRow("R1 missing") << "EditR1" << "" << true << calc << warning << "Please enter a value for R1";
        QTest::newRow("C1 missing") << "EditC1" << "" << false << calc << warning << "Please enter a value for C1";
        QTest::newRow("parts missing") << "EditR2" << "" << true << tf << warning << "Please enter values for R1, R2, R3, C1, C2, C3";
        QTest::newRow("part zero") << "EditR3" << "0" << true << calc << error << "Part values of zero or less are invalid";
        QTest::newRow("part negative") << "EditR2" << "-22k" << true << calc << error << "Part values of zero or less are invalid";
        QTest::newRow("LPF unrealisable") << "EditR2" << "4.7k" << true << calc << error << "This request cannot be realised (C < 0).\n\nWiden the ratios with R1 < R2 <= R3 to realise it.";
        QTest::newRow("HPF unrealisable") << "EditC2" << "15n" << false << calc << error << "This request cannot be realised (R < 0).\n\nWiden the ratios with C1 > C2 >= C3 to realise it.";
        // clang-format on
    }
    void commandMessages() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(bool, lpf);
        QFETCH(QString, button);
        QFETCH(QString, caption);
        QFETCH(QString, message);
        QTest::mouseClick(lpf ? form_->RadioButtonLpf : form_->RadioButtonHPF, Qt::LeftButton);
        auto* edit = static_cast<QLineEdit*>(mirelto::test::Control(*form_, box));
        edit->setText(text);
        QTest::mouseClick(static_cast<QAbstractButton*>(mirelto::test::Control(*form_, button)),
                          Qt::LeftButton);
        QCOMPARE(platform_->boxes.size(), 1);
        QCOMPARE(platform_->boxes[0].caption, caption);
        QCOMPARE(QString(platform_->boxes[0].text).replace(u"\r\n"_s, u"\n"_s), message);
        QCOMPARE(platform_->boxes[0].icon,
                 caption == u"Error"_s ? QMessageBox::Critical : QMessageBox::Warning);
    }

    // A design file that is not there; open it; the English error naming it and the reason.
    void fileMessage() {
        QVERIFY(!form_->Files().OpenFile(u"/nonexistent/filter.mirelto"_s, form_.get()));
        QCOMPARE(platform_->boxes.size(), 1);
        QCOMPARE(platform_->boxes[0].caption, u"Error"_s);
        QCOMPARE(platform_->boxes[0].text,
                 u"Cannot open filter.mirelto.\nThe file does not exist."_s);
    }

    // A desktop locale and MIRELTO_LANG; choose; Japanese only for Japanese, unless overridden.
    void chooseLanguage_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("override");
        QTest::addColumn<Language>("expected");
        // clang-format off
        QTest::newRow("Japanese desktop") << "ja_JP" << "" << Language::Japanese;
        QTest::newRow("English desktop") << "en_US" << "" << Language::English;
        QTest::newRow("German desktop") << "de_DE" << "" << Language::English;
        QTest::newRow("C locale") << "C" << "" << Language::English;
        QTest::newRow("Japanese desktop, en") << "ja_JP" << "en" << Language::English;
        QTest::newRow("English desktop, ja") << "en_GB" << "ja" << Language::Japanese;
        QTest::newRow("unknown override ignored") << "ja_JP" << "fr" << Language::Japanese;
        QTest::newRow("override is exact") << "en_US" << "JA" << Language::English;
        // clang-format on
    }
    void chooseLanguage() {
        QFETCH(QString, locale);
        QFETCH(QString, override);
        QFETCH(Language, expected);
        QCOMPARE(mirelto::ChooseLanguage(QLocale(locale), override), expected);
    }

    // This English desktop and MIRELTO_LANG set as a user would; the desktop's language.
    void overrideVariable_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<Language>("expected");
        QTest::newRow("unset") << QByteArray() << Language::English;
        QTest::newRow("ja") << QByteArray("ja") << Language::Japanese;
        QTest::newRow("en") << QByteArray("en") << Language::English;
        QTest::newRow("empty") << QByteArray("") << Language::English;
    }
    void overrideVariable() {
        QFETCH(QByteArray, value);
        QFETCH(Language, expected);
        if (value.isNull()) {
            qunsetenv("MIRELTO_LANG");
        } else {
            qputenv("MIRELTO_LANG", value);
        }
        const Language language = mirelto::DesktopLanguage();
        qunsetenv("MIRELTO_LANG");
        QCOMPARE(language, expected);
    }
};

MIRELTO_QTEST_MAIN_IN(TestEnglish, "en_US.UTF-8")

#include "tst_english.moc"
