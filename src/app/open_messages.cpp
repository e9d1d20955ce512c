#include "app/open_messages.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "app/editor.h"
#include "app/settings.h"

namespace anitrope {
namespace {

constexpr std::array<const char*, 9> kAccepted{"GIF", "BMP", "DIB", "JPG", "TGA",
                                               "ICO", "CUR", "ANI", "AVI"};
constexpr const char kAcceptedList[] = "only GIF, JPG, BMP, DIB, TGA, AVI, ICO, CUR and ANI files are accepted";

}  // namespace

std::string ExtensionOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return path.substr(dot + 1);
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool IsAcceptedExtension(const std::string& extension) {
    return std::find(kAccepted.begin(), kAccepted.end(), Upper(extension)) != kAccepted.end();
}

bool IsGifExtension(const std::string& extension) {
    return Upper(extension) == "GIF" || !IsAcceptedExtension(extension);
}

MessageRequest InvalidFormatMessage(const std::string& extension, OpenOrigin origin) {
    const std::string& original = extension;
    if (origin == OpenOrigin::Drop)
        return {"Invalid format \"*." + original + "\"- " + kAcceptedList, "Drag & Drop  Error",
                MessageIcon::Warning, kOkButton};
    return {"Invalid format '*." + original + "'- " + kAcceptedList, "CommandLine Error",
            MessageIcon::Warning, kOkButton};
}

MessageRequest NotYetReadableMessage(const std::string& extension, OpenOrigin origin) {
    MessageRequest message = InvalidFormatMessage(extension, origin);
    message.text = "Reading *." + Upper(extension) + " pictures is not part of this version of Anitrope; "
                   "only GIF files can be opened yet.";
    if (origin == OpenOrigin::Menu || origin == OpenOrigin::RecentFile) message.title = "Error";
    return message;
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
        {"All Images", {"*.jpg", "*.gif", "*.bmp", "*.dib", "*.tga", "*.ico", "*.cur", "*.ani", "*.avi"}},
        {"Gif Images(*.gif)", {"*.gif"}},
        {"Bitmaps(*.bmp)", {"*.bmp"}},
        {"DIBitmaps(*.dib)", {"*.dib"}},
        {"JPEG(*.jpg)", {"*.jpg"}},
        {"Truevision Targa(*.tga)", {"*.tga"}},
        {"AVI Files(*.avi)", {"*.avi"}},
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
