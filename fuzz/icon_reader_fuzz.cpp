// Feeds arbitrary bytes to the icon and cursor readers. Besides the sanitizers' findings, a
// picture whose pixel block does not match its size or breaks the picture limits, a cursor
// with other than one step, and a failure without a message abort.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/icon_reader.h"
#include "picture_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const auto icon = anitrope::DecodeIcon(bytes);
    anitrope::fuzz::RequireSoundOrExplained(icon);

    const auto cursor = anitrope::DecodeCursor(bytes);
    if (cursor.iconFound != !cursor.steps.empty() || cursor.steps.size() > 1) std::abort();
    if (cursor.steps.empty() ? cursor.error.empty() : !anitrope::fuzz::Sound(cursor.steps[0])) std::abort();
    // Both read the same first image: one decodes exactly when the other does.
    if (cursor.iconFound != icon.picture.has_value()) std::abort();
    return 0;
}
