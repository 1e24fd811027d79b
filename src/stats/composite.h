#pragma once

#include <span>
#include <vector>

#include "stats/block_sample.h"
#include "stats/gev_fit.h"
#include "stats/result.h"

namespace kestavian::stats {

// One truck class's block distribution: its own fit and its own share of non-empty blocks, over
// the same blocks as every other class.
struct ClassModel {
    TruckClass truckClass = TruckClass::One;
    GevParams params;
    double nonEmptyShare = 1;
};

// The level z_T with [prod over classes of F_B,c(z)]^B = 1 - 1/T: a block's maximum is below z
// only when the maximum of each class in it is. Refused when no level is exceeded that often.
Result<double> compositeReturnLevel(std::span<const ClassModel> classes, int blocksPerYear,
                                    double years);

// Each class with maxima fitted by the model, ready for compositeReturnLevel; refused, naming
// the class, when a class's fit is.
Result<std::vector<ClassModel>> fitClasses(std::span<const BlockSample> byClass, Model model);

} // namespace kestavian::stats
