# The core's layers, bottom to top: numeric, values, design, response, tools; output beside them,
# over numeric, values and design. A file may include headers of its own layer and of the layers
# below it, never of one above: includes point down. Every source and header of the core sits in
# a layer folder (src/core/<layer>/, src/core/include/mirelto/<layer>/); only the umbrella
# <mirelto/core.h> stands outside them.
#
#   cmake -DCORE_DIR=<src/core> -P check_layers.cmake
cmake_minimum_required(VERSION 3.22)

set(layers numeric values design response tools output)
set(below_numeric "")
set(below_values numeric)
set(below_design numeric values)
set(below_response numeric values design)
set(below_tools numeric values design response)
set(below_output numeric values design)

file(GLOB_RECURSE files RELATIVE ${CORE_DIR} ${CORE_DIR}/*.h ${CORE_DIR}/*.cpp)
set(problems "")
foreach(file IN LISTS files)
    if(file STREQUAL "include/mirelto/core.h")
        continue()
    endif()
    if(NOT file MATCHES "^(include/mirelto/)?([a-z]+)/[^/]+$"
       OR NOT CMAKE_MATCH_2 IN_LIST layers)
        string(APPEND problems "${file}: not in a layer folder\n")
        continue()
    endif()
    set(layer ${CMAKE_MATCH_2})
    set(allowed ${layer} ${below_${layer}})
    file(STRINGS ${CORE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
        if(line MATCHES "[\"<]mirelto/core\\.h[\">]")
            string(APPEND problems "${file}: includes the umbrella <mirelto/core.h>\n")
        elseif(line MATCHES "[\"<](mirelto/)?([a-z_]+)/[^\">]+[\">]")
            set(target ${CMAKE_MATCH_2})
            if(target IN_LIST layers AND NOT target IN_LIST allowed)
                string(APPEND problems "${file}: ${layer} includes ${target}: ${line}\n")
            endif()
        elseif(line MATCHES "[\"<]mirelto/")
            string(APPEND problems "${file}: a core header outside the layers: ${line}\n")
        endif()
    endforeach()
endforeach()

list(LENGTH files count)
if(problems)
    message(FATAL_ERROR "Includes must point down the core's layers:\n${problems}")
endif()
message(STATUS "${count} core files, every include points down")
