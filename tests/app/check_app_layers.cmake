# The window's folders, bottom first: desktop (the platform seam, message boxes, fonts, language,
# drawings), source (the DesignSource seam), analysis/shared (what the analysis panels share),
# analysis/response and analysis/tools (side by side: neither includes the other), analysis (the
# analysis window), files (design files), calculator (the main window), and start-up (main.cpp)
# on top. A file may include headers of its own folder and of the folders below it, never of one
# above or beside it. The main window (calculator/main_window.h and its generated form) is seen
# from the calculator and start-up only: everything else sees it as a DesignSource.
#
#   cmake -DAPP_DIR=<src/app> -P check_app_layers.cmake
cmake_minimum_required(VERSION 3.22)

set(folders desktop source analysis/shared analysis/response analysis/tools analysis files
            calculator start-up)
set(below_desktop "")
set(below_source desktop)
set(below_analysis/shared desktop source)
set(below_analysis/response desktop source analysis/shared)
set(below_analysis/tools desktop source analysis/shared)
set(below_analysis desktop source analysis/shared analysis/response analysis/tools)
set(below_files ${below_analysis} analysis)
set(below_calculator ${below_files} files)
set(below_start-up ${below_calculator} calculator)
set(sees_main_window calculator start-up)

# The folder of a path in the app ("analysis/tools/x.h" -> analysis/tools, "main.cpp" -> start-up),
# or "" for a path that names none (a library's header, a generated form).
function(folder_of path result)
    if(path MATCHES "^analysis/(shared|response|tools)/[^/]+$")
        set(${result} analysis/${CMAKE_MATCH_1} PARENT_SCOPE)
    elseif(path MATCHES "^([a-z]+)/[^/]+$" AND CMAKE_MATCH_1 IN_LIST folders)
        set(${result} ${CMAKE_MATCH_1} PARENT_SCOPE)
    elseif(path STREQUAL "main.cpp")
        set(${result} start-up PARENT_SCOPE)
    else()
        set(${result} "" PARENT_SCOPE)
    endif()
endfunction()

file(GLOB_RECURSE files RELATIVE ${APP_DIR} ${APP_DIR}/*.h ${APP_DIR}/*.cpp)
set(problems "")
foreach(file IN LISTS files)
    folder_of(${file} folder)
    if(NOT folder)
        string(APPEND problems "${file}: not in a folder of the window's layers\n")
        continue()
    endif()
    set(allowed ${folder} ${below_${folder}})
    file(STRINGS ${APP_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" target_path "${line}")
        if(target_path MATCHES "^(calculator/main_window\\.h|ui_main_window\\.h)$"
           AND NOT folder IN_LIST sees_main_window)
            string(APPEND problems "${file}: ${folder} includes the main window: ${line}\n")
            continue()
        endif()
        folder_of(${target_path} target)
        if(target AND NOT target IN_LIST allowed)
            string(APPEND problems "${file}: ${folder} includes ${target}: ${line}\n")
        endif()
    endforeach()
endforeach()

list(LENGTH files count)
if(count EQUAL 0)
    message(FATAL_ERROR "No window files under ${APP_DIR}")
endif()
if(problems)
    message(FATAL_ERROR "Includes must point down the window's folders:\n${problems}")
endif()
message(STATUS "${count} window files, every include points down")
