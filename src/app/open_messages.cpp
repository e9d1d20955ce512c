#include "app/open_messages.h"

#include <algorithm>
#include <array>

#include "app/editor.h"
#include "app/settings.h"

namespace anitrope {
namespace {

// PNG, JPEG and video containers are read too, though the refusal's wording keeps to the
// older list.
constexpr std::array<const char*, 15> kAccepted{"GIF", "BMP", "DIB", "JPG",  "JPEG",
                                                "PNG", "TGA", "ICO", "CUR",  "ANI",
                                                "AVI", "MP4", "WEBM", "MKV", "MOV"};
constexpr const char kAcceptedList[] = "only GIF, JPG, BMP, DIB, TGA, AVI, ICO, CUR and ANI files are accepted";

}  // namespace

bool IsAcceptedExtension(const std::string& extension) {
    return std::find(kAccepted.begin(), kAccepted.end(), Upper(extension)) != kAccepted.end();
}

MessageRequest InvalidFormatMessage(const std::string& extension, OpenOrigin origin) {
    const std::string& original = extension;
    if (origin == OpenOrigin::Drop)
        return {"Invalid format \"*." + original + "\"- " + kAcceptedList, "Drag & Drop  Error",
                MessageIcon::Warning, kOkButton};
    return {"Invalid format '*." + original + "'- " + kAcceptedList, "CommandLine Error",
            MessageIcon::Warning, kOkButton};
}

void ProposePath(const std::string& path, FileDialogRequest& request) {
    if (path.empty() || path == kNoPath) return;
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos) request.directory = path.substr(0, slash);
    request.proposedName = path.substr(slash == std::string::npos ? 0 : slash + 1);
}

FileDialogRequest OpenDialogRequest(const std::string& currentFile) {
    FileDialogRequest request;
    request.title = "Load Image";
    request.filters = {
        {"All Images",
         {"*.jpg", "*.gif", "*.bmp", "*.dib", "*.tga", "*.ico", "*.cur", "*.ani", "*.avi", "*.png",
          "*.mp4", "*.webm", "*.mkv", "*.mov"}},
        {"Gif Images(*.gif)", {"*.gif"}},
        {"Bitmaps(*.bmp)", {"*.bmp"}},
        {"DIBitmaps(*.dib)", {"*.dib"}},
        {"JPEG(*.jpg)", {"*.jpg", "*.jpeg"}},
        {"PNG(*.png)", {"*.png"}},
        {"Truevision Targa(*.tga)", {"*.tga"}},
        {"AVI Files(*.avi)", {"*.avi"}},
        {"Video(*.mp4;*.webm;*.mkv;*.mov)", {"*.mp4", "*.webm", "*.mkv", "*.mov"}},
        {"Icons(*.ico)", {"*.ico"}},
        {"Cursors(*.cur)", {"*.cur"}},
        {"Animated Cursors(*.ani)", {"*.ani"}},
        {"All(*.*)", {"*"}},
    };
    ProposePath(currentFile, request);
    return request;
}

MessageRequest ResizeQuestion() {
    return {"The size of the selected image differs from the size of the image(s) already "
            "loaded.\nShall the new image be resized ?",
            "Resize", MessageIcon::Question, {"&Ok, Resize", "&Cancel Loading"}};
}

}  // namespace anitrope
