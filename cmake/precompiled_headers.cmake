# Precompiled headers, set from the top so that the folders of the programs keep to their sources.
# Each list is the library headers that most of the target's sources include; the window tests
# share one (REUSE_FROM: the same flags). Not nlohmann-json: its cost is in the templates each
# source instantiates, which a precompiled header does not save. A target that is not there (not
# built in this configuration, or renamed) is passed over: the headers only save time.

set(gtest_headers <gtest/gtest.h> <string> <vector> <cmath> <limits>)
foreach(target mirelto_core_tests mirelto_cli_tests)
    if(TARGET ${target})
        target_precompile_headers(${target} PRIVATE ${gtest_headers})
    endif()
endforeach()

set(qt_headers <QApplication> <QWidget> <QString> <QStringList> <QLineEdit> <QPushButton> <QLabel>
    <QComboBox> <QRadioButton> <QTableWidget> <QPlainTextEdit> <QPainter> <QChart> <QChartView>
    <QValueAxis> <QLineSeries> <memory> <optional> <cmath>)
if(TARGET mirelto_app)
    target_precompile_headers(mirelto_app PRIVATE ${qt_headers})
endif()
if(TARGET tst_main_window)
    target_precompile_headers(tst_main_window PRIVATE ${qt_headers} <QTest>)
    foreach(target tst_commands tst_message_box tst_help_window tst_output tst_analysis
                   tst_analysis_tools tst_analysis_plots tst_design_files tst_english)
        if(TARGET ${target})
            target_precompile_headers(${target} REUSE_FROM tst_main_window)
        endif()
    endforeach()
endif()
