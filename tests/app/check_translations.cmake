# Fails when the English translation is due: lupdate, run over the sources into a copy of the .ts
# file (the file itself is left alone), finds a text without a finished translation, or keeps a
# translation whose text has left the sources.
# Arguments: LUPDATE, OPTIONS (lupdate's options, a list), SOURCES (directories), TS, WORK.
file(MAKE_DIRECTORY ${WORK})
set(copy ${WORK}/check.ts)
configure_file(${TS} ${copy} COPYONLY)
execute_process(COMMAND ${LUPDATE} ${OPTIONS} ${SOURCES} -ts ${copy}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed (${status}):\n${output}")
endif()
file(READ ${copy} ts)
string(REGEX MATCHALL
       "<source>[^<]*</source>[ \t\r\n]*<translation type=\"(unfinished|vanished|obsolete)\""
       due "${ts}")
if(due)
    list(LENGTH due count)
    string(REPLACE ";" "\n" due "${due}")
    message(FATAL_ERROR "${count} translation(s) due; update ${TS} with the lupdate target "
                        "and translate:\n${due}")
endif()
message(STATUS "translations complete:\n${output}")
