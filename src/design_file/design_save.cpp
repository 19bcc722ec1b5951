#include "design_save.h"

#include <variant>

namespace mirelto {

DesignSave DesignFileToSave(const DesignFile& design) {
    DesignSave save;
    std::string bytes = SerialiseDesignFile(design);
    save.size = bytes.size();
    if (bytes.size() > kMostDesignFileBytes) {
        save.problem = DesignSaveProblem::TooLarge;
        return save;
    }
    const DesignFileRead read = ParseDesignFile(bytes);
    if (const auto* error = std::get_if<DesignFileError>(&read)) {
        save.problem = DesignSaveProblem::NotReadBack;
        save.readBack = *error;
        return save;
    }
    save.bytes = std::move(bytes);
    return save;
}

std::string DescribeInEnglish(const DesignSave& save) {
    switch (save.problem) {
        case DesignSaveProblem::None:
            break;
        case DesignSaveProblem::TooLarge:
            return "not saved: the design file would be " + std::to_string(save.size) +
                   " bytes, over the 1 MiB a design file may have (a long note?)";
        case DesignSaveProblem::NotReadBack:
            return "not saved: it would not read back: " + DescribeInEnglish(save.readBack);
    }
    return {};
}

}  // namespace mirelto
