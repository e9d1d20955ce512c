// uninstall: removes what anitrope-setup installed, as the manifest beside this program lists
// it. The settings stay: they are the user's, and a later installation finds them again.

#include <unistd.h>

#include <cstdio>
#include <string>

#include "installer/file_io.h"
#include "installer/manifest.h"

int main(int argc, char**) {
    using namespace anitrope;
    if (argc != 1) {
        std::fprintf(stderr,
                     "usage: uninstall\n  removes Anitrope as its installation listed it\n");
        return 2;
    }
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        std::fprintf(stderr, "uninstall: cannot tell where this program lies\n");
        return 1;
    }
    const std::string manifestPath =
        DirectoryOf(std::string(self, static_cast<std::size_t>(length))) + "/" + kManifestName;
    const auto text = ReadWholeFile(manifestPath, 16u << 20);
    if (!text) {
        std::fprintf(stderr, "uninstall: %s: cannot read the list of installed files\n",
                     manifestPath.c_str());
        return 1;
    }
    Manifest manifest;
    manifest.Merge(std::string(text->begin(), text->end()));
    const UninstallResult result = Uninstall(manifest);
    std::printf("Removed %d files and %d directories.\n", result.removedFiles,
                result.removedDirectories);
    for (const std::string& path : result.kept)
        std::printf("Kept %s: it holds files that were not installed.\n", path.c_str());
    for (const std::string& path : result.failed)
        std::fprintf(stderr, "uninstall: %s: could not remove it\n", path.c_str());
    return result.failed.empty() ? 0 : 1;
}
