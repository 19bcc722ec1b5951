# Writes INPUT as the C++ text constant kBuiltInOpAmpsCsv in the header OUTPUT.
file(READ ${INPUT} text)
file(WRITE ${OUTPUT}
     "// Generated from resources/opamps.csv at build time.\n#pragma once\n\n#include <string_view>\n\n"
     "namespace mirelto {\ninline constexpr std::string_view kBuiltInOpAmpsCsv = R\"csv(${text})csv\";\n}\n")
