// anitrope-szdd IN OUT: writes IN as an SZDD file OUT, for the distribution folder (libmspack
// only expands). The character that the compressed name loses is taken from IN's name.

#include <cstdio>
#include <string>

#include "installer/file_io.h"
#include "installer/szdd.h"

int main(int argc, char** argv) {
    using namespace anitrope;
    if (argc != 3) {
        std::fprintf(stderr, "usage: anitrope-szdd IN OUT\n");
        return 2;
    }
    const std::string in = argv[1];
    const std::string out = argv[2];
    const std::optional<std::vector<uint8_t>> data = ReadWholeFile(in, kSzddMaxExpandedSize);
    if (!data) {
        std::fprintf(stderr, "anitrope-szdd: %s: cannot read it (or larger than %u bytes)\n",
                     in.c_str(), kSzddMaxExpandedSize);
        return 1;
    }
    char missing = 0;
    CompressedName(FileNameOf(in), &missing);
    const std::optional<std::vector<uint8_t>> packed = PackSzdd(*data, missing);
    if (!packed || !WriteFileAtomically(out, *packed, 0644)) {
        std::fprintf(stderr, "anitrope-szdd: %s: cannot write it\n", out.c_str());
        return 1;
    }
    return 0;
}
