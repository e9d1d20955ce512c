// Feeds arbitrary bytes to the SZDD expander. Besides the sanitizers' findings, a result that
// breaks its promises (bytes on failure, another length than the header's on success) aborts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "installer/szdd.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace anitrope;
    const SzddContents contents = ExpandSzdd(std::span(data, size));
    if (contents.status == SzddStatus::Ok)
        Require(contents.data.size() == contents.header.length);
    else
        Require(contents.data.empty());
    return 0;
}
