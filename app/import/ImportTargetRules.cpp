#include "import/ImportTargetRules.h"

ImportTargetChoices availableImportTargets(std::int64_t channelLength,
                                           std::int64_t importedAPointCount) {
    const bool single = channelLength >= importedAPointCount;
    return {true, single, single};
}
