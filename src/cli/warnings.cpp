#include "warnings.h"

#include "common.h"

namespace mirelto::cli {

Json WarningsJson(const Circuit& circuit) {
    Json warnings = Json::array();
    for (const DesignWarningItem& w : DesignWarnings(circuit)) {
        warnings.push_back(
            {{"code", DesignWarningCode(w.code)}, {"message", DescribeInEnglish(w, circuit)}});
    }
    return warnings;
}

Json WithWarnings(Json document, const Circuit& circuit) {
    document["warnings"] = WarningsJson(circuit);
    return document;
}

void WriteWarnings(std::ostream& out, const Circuit& circuit, std::string_view prefix,
                   std::string_view lineEnd) {
    for (const DesignWarningItem& w : DesignWarnings(circuit)) {
        out << prefix << ": " << DescribeInEnglish(w, circuit) << lineEnd;
    }
}

}  // namespace mirelto::cli
