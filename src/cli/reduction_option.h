#pragma once

#include <iosfwd>
#include <string_view>

#include "cli/command.h"
#include "quantize/reduction_method.h"

namespace anitrope {

// "--quality popularity|high" and "--dither": the editor's "Color Reduction" and "Dither".
// Takes one of them from the front of `args` into `options`. Returns the number of words
// taken, 0 when the front is neither option, -1 after saying on `err` what was wrong.
int TakeReductionOption(CommandArgs args, std::string_view command, ReductionOptions& options,
                        std::ostream& err);

// Once every option is read: dithering belongs to "High Quality" alone, as the Options dialog
// enables "Dither" only with it. False after saying so on `err`.
bool CheckReductionOptions(const ReductionOptions& options, std::string_view command,
                           std::ostream& err);

}  // namespace anitrope
