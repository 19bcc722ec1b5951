# Precompiled headers, set from the top so that the folders of the programs keep to their sources.
# Each list is the library headers that most of the target's sources include; the window tests
# share one (REUSE_FROM: the same flags). Not nlohmann-json: its cost is in the templates each
# source instantiates, which a precompiled header does not save.

if(MIRELTO_BUILD_TESTS)
    set(gtest_headers <gtest/gtest.h> <string> <vector> <cmath> <limits>)
    target_precompile_headers(mirelto_core_tests PRIVATE ${gtest_headers})
    target_precompile_headers(mirelto_cli_tests PRIVATE ${gtest_headers})
endif()

if(MIRELTO_BUILD_APP)
    set(qt_headers <QApplication> <QWidget> <QString> <QStringList> <QLineEdit> <QPushButton>
        <QLabel> <QComboBox> <QRadioButton> <QTableWidget> <QPlainTextEdit> <QPainter>
        <QChart> <QChartView> <QValueAxis> <QLineSeries> <memory> <optional> <cmath>)
    target_precompile_headers(mirelto_app PRIVATE ${qt_headers})
    if(MIRELTO_BUILD_TESTS)
        target_precompile_headers(tst_main_window PRIVATE ${qt_headers} <QTest>)
        foreach(name tst_commands tst_message_box tst_help_window tst_output tst_analysis
                     tst_analysis_tools tst_analysis_plots tst_design_files tst_english)
            target_precompile_headers(${name} REUSE_FROM tst_main_window)
        endforeach()
    endif()
endif()
