#include "cli/effect_command.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <numeric>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/load_input.h"
#include "cli/number_option.h"
#include "cli/reduction_option.h"
#include "effects/effect_entry.h"
#include "effects/effect_params.h"
#include "effects/effect_progress.h"
#include "gif/gif_writer.h"
#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/gif.h"
#include "platform/job_scheduler.h"
#include "quantize/color_reduction.h"

namespace anitrope {
namespace {

constexpr std::array<std::string_view, 2> kListOptions{"--direction", "--option"};

// What the command line asks of the entry; whatever it leaves unset keeps the entry's default.
struct EntryRequest {
    std::string name;
    std::string input;
    std::string output;
    int32_t frames = EffectParams{}.frameCount;
    bool pingPong = false;
    std::optional<std::string> color;
    std::array<std::optional<int32_t>, kValueSlots> values;
    std::array<std::optional<bool>, kCheckSlots> checks;
    std::array<std::optional<std::string>, 2> lists;
    int frame = 1;  // 1-based, as `info` counts
    std::optional<uint32_t> seed;  // replays random placements; none: they follow the clock
    ReductionOptions reduction;    // of the new frames, and of every frame left in true colour
};

// One subcommand's way of speaking: its name starts every diagnostic.
struct Command {
    bool effect;
    std::ostream& err;

    std::string_view Name() const { return effect ? "effect" : "transition"; }
    std::ostream& Say() const { return err << kProgramName << ": " << Name() << ": "; }
    int Usage(std::string_view message) const {
        Say() << message << '\n';
        return kExitUsage;
    }
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1] ? 1 : 0)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// A typo or a part of the name: "blurr", "sphere".
bool CloseName(std::string_view typed, std::string_view name) {
    const std::string a = Lower(typed), b = Lower(name);
    if (a.size() >= 3 && b.find(a) != std::string::npos) return true;
    return EditDistance(a, b) <= std::max<std::size_t>(1, b.size() / 4);
}

int ReportUnknownName(const Command& command, const std::string& name) {
    command.Say() << "no " << command.Name() << " is called '" << name << "'\n";
    if (const EffectEntry* other = FindEntry(!command.effect, name)) {
        command.err << "  '" << other->name << "' is " << (command.effect ? "a transition" : "an effect")
                    << ": " << kProgramName << ' ' << (command.effect ? "transition" : "effect")
                    << " \"" << other->name << "\" ...\n";
    }
    std::vector<std::string_view> close;
    for (const EffectEntry& entry : EntryTable(command.effect))
        if (CloseName(name, entry.name)) close.push_back(entry.name);
    if (!close.empty()) {
        command.err << "  close names:";
        for (std::size_t i = 0; i < close.size(); ++i)
            command.err << (i ? ", \"" : " \"") << close[i] << '"';
        command.err << '\n';
    }
    command.err << "  every name: " << kProgramName << ' ' << command.Name() << " --list\n";
    return kExitUsage;
}

// Reads the words after the subcommand's name. False, having said why, for a wrong command line.
bool ParseRequest(const Command& command, CommandArgs args, EntryRequest& request) {
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (!word.starts_with("--")) {
            positional.push_back(word);
            continue;
        }
        if (word == "--pingpong") {
            request.pingPong = true;
            continue;
        }
        if (const int taken = TakeReductionOption(args.subspan(i), command.Name(),
                                                  request.reduction, command.err)) {
            if (taken < 0) return false;
            i += static_cast<std::size_t>(taken) - 1;
            continue;
        }
        if (i + 1 == args.size()) {
            command.Usage(word + " needs a value");
            return false;
        }
        const std::string& text = args[++i];
        const auto slot = [&](std::string_view prefix, int slots) -> int {
            if (!word.starts_with(prefix) || word.size() != prefix.size() + 1) return 0;
            const int n = word.back() - '0';
            return n >= 1 && n <= slots ? n : 0;
        };
        const auto bad = [&](std::string_view what) {
            command.Usage(word + " takes " + std::string(what) + ", not '" + text + "'");
            return false;
        };
        if (word == "--frames") {
            const auto n = ParseNumber(text, INT_MIN, INT_MAX);
            if (!n) return bad("a whole number");
            request.frames = *n;
        } else if (word == "--frame") {
            const auto n = ParseNumber(text, 1, INT_MAX);
            if (!n) return bad("a frame number from 1");
            request.frame = *n;
        } else if (word == "--seed") {
            const auto n = ParseNumber(text, 0, INT_MAX);
            if (!n) return bad("a whole number from 0");
            request.seed = static_cast<uint32_t>(*n);
        } else if (word == "--color") {
            request.color = text;
        } else if (const int n = slot("--value", kValueSlots)) {
            const auto value = ParseNumber(text, INT_MIN, INT_MAX);
            if (!value) return bad("a whole number");
            request.values[static_cast<std::size_t>(n - 1)] = *value;
        } else if (const int c = slot("--check", kCheckSlots)) {
            const auto state = ParseNumber(text, 0, 1);
            if (!state) return bad("0 or 1");
            request.checks[static_cast<std::size_t>(c - 1)] = *state == 1;
        } else if (word == kListOptions[0] || word == kListOptions[1]) {
            request.lists[word == kListOptions[0] ? 0 : 1] = text;
        } else {
            command.Usage("unknown option " + word);
            return false;
        }
    }
    if (positional.size() != 3) {
        command.Usage("takes a NAME, IN.gif and OUT.gif besides its options");
        return false;
    }
    if (!CheckReductionOptions(request.reduction, command.Name(), command.err)) return false;
    request.name = positional[0];
    request.input = positional[1];
    request.output = positional[2];
    return true;
}

// The item `text` names, by its index or its text; -1 for none.
int FindListItem(const SlotRecord::ListState& list, const std::string& text) {
    if (const auto n = ParseNumber(text, 0, static_cast<int>(list.items.size()) - 1)) return *n;
    const auto it = std::find_if(list.items.begin(), list.items.end(),
                                 [&](const std::string& item) { return Lower(item) == Lower(text); });
    return it == list.items.end() ? -1 : static_cast<int>(it - list.items.begin());
}

// Works the request into the slots the way a user works the dialog: lists first and check
// boxes next (a change of either lets the entry relabel and reset its slots), then the typed
// values, so that nothing the entry does on a change undoes what was asked. False, having said
// which, when the request names a slot the entry does not use.
bool FillSlots(const Command& command, const EffectEntry& entry, const EntryRequest& request,
               SlotRecord& slots) {
    const auto unused = [&](std::string_view option) {
        command.Usage(std::string(entry.name) + " does not use " + std::string(option) +
                      " (see --list)");
        return false;
    };
    for (int n = 1; n <= 2; ++n) {
        const auto& wanted = request.lists[static_cast<std::size_t>(n - 1)];
        if (!wanted) continue;
        const std::string_view option = kListOptions[static_cast<std::size_t>(n - 1)];
        const SlotRecord::ListState& list = slots.ListSlot(n);
        if (!list.enabled) return unused(option);
        const int item = FindListItem(list, *wanted);
        if (item < 0) {
            std::string items;
            for (std::size_t i = 0; i < list.items.size(); ++i)
                items += (i ? ", " : "") + std::to_string(i) + " " + list.items[i];
            command.Usage(std::string(option) + ": \"" + list.label + "\" has no item '" + *wanted +
                          "' (" + items + ")");
            return false;
        }
        if (item != list.selection) {
            slots.SelectListItem(n, item);
            RunSetup(entry, slots, SetupMode::ComboChanged);
        }
    }
    for (int n = 1; n <= kCheckSlots; ++n) {
        const auto& wanted = request.checks[static_cast<std::size_t>(n - 1)];
        if (!wanted) continue;
        SlotRecord::CheckState& check = slots.CheckSlot(n);
        if (!check.enabled) return unused("--check" + std::to_string(n));
        if (check.checked != *wanted) {
            check.checked = *wanted;
            RunSetup(entry, slots, SetupMode::CheckChanged);
        }
    }
    if (request.pingPong) {
        if (!slots.pingPong.enabled) return unused("--pingpong");
        slots.pingPong.checked = true;
    }
    for (int n = 1; n <= kValueSlots; ++n) {
        const auto& wanted = request.values[static_cast<std::size_t>(n - 1)];
        if (!wanted) continue;
        SlotRecord::ValueState& value = slots.ValueSlot(n);
        if (!value.enabled) return unused("--value" + std::to_string(n));
        value.text = std::to_string(*wanted);
    }
    if (request.color && !slots.colorEnabled) return unused("--color");
    return true;
}

// The dialog's own checks of "Number of Frames", made before the entry sees the count.
bool CheckFrameCount(int32_t frames, bool pingPong, SlotRecord& slots) {
    if (pingPong && frames < 2) {
        slots.Refuse("Number of Frames must be larger than one if PingPong is selected !",
                     "Invalid Parameter", kFrameCountField);
    } else if (frames < 1) {
        slots.Refuse("Number of Frames must be larger than Zero !", "Invalid Parameter",
                     kFrameCountField);
    }
    return slots.refusals.empty();
}

// --color: an index of the frame's palette, or #RRGGBB for the used entry nearest to it.
std::optional<int32_t> ChooseColor(const std::string& text, const Gif& frame) {
    if (!text.starts_with('#')) return ParseNumber(text, 0, kPaletteSlots - 1);
    if (text.size() != 7 || !std::all_of(text.begin() + 1, text.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) != 0;
        }))
        return std::nullopt;
    const auto rgb = std::stoul(text.substr(1), nullptr, 16);
    const int red = static_cast<int>(rgb >> 16 & 0xFF), green = static_cast<int>(rgb >> 8 & 0xFF),
              blue = static_cast<int>(rgb & 0xFF);
    const Palette& palette = EffectivePalette(frame);
    std::optional<int32_t> nearest;
    int best = INT_MAX;
    for (int i = 0; i < kPaletteSlots; ++i) {
        const PaletteEntry& entry = palette[static_cast<std::size_t>(i)];
        if (entry.IsUnused()) continue;
        const int dr = entry.red - red, dg = entry.green - green, db = entry.blue - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

bool SameRectangle(const Gif& a, const Gif& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

// Links the chain into the list right after `after`, ahead of what followed it.
void InsertAfter(Gif& after, FrameChain chain) {
    Gif* const first = chain.release();
    Gif* last = first;
    while (last->next) last = last->next;
    last->next = after.next;
    if (after.next) after.next->prev = last;
    after.next = first;
    first->prev = &after;
}

void PrintTable(bool effect, std::ostream& out) {
    out << (effect ? "effects" : "transitions") << " (" << kProgramName << ' '
        << (effect ? "effect" : "transition") << " NAME ...):\n";
    const auto table = EntryTable(effect);
    for (std::size_t index = 0; index < table.size(); ++index) {
        const EffectEntry& entry = table[index];
        // What the dialog shows once the entry is chosen.
        SlotRecord slots;
        slots.transition = !effect;
        RunSetup(entry, slots, SetupMode::Init);
        out << "  " << index << "  " << entry.name << "  ("
            << (entry.Available() ? "available" : "not available yet") << ")\n";
        std::string_view description = slots.description;
        while (!description.empty()) {
            const std::size_t end = std::min(description.find('\n'), description.size());
            out << "      " << description.substr(0, end) << '\n';
            description.remove_prefix(std::min(end + 1, description.size()));
        }
        for (int n = 1; n <= kValueSlots; ++n) {
            const auto& value = slots.ValueSlot(n);
            if (!value.enabled) continue;
            out << "      --value" << n << " \"" << value.label << "\" default "
                << (value.text.empty() ? "empty (0)" : value.text) << '\n';
        }
        for (int n = 1; n <= kCheckSlots; ++n) {
            const auto& check = slots.CheckSlot(n);
            if (check.enabled)
                out << "      --check" << n << " \"" << check.label << "\" default "
                    << (check.checked ? 1 : 0) << '\n';
        }
        for (int n = 1; n <= 2; ++n) {
            const auto& list = slots.ListSlot(n);
            if (!list.enabled && list.label == SlotRecord::ListState{}.label) continue;
            out << "      " << kListOptions[static_cast<std::size_t>(n - 1)] << " \"" << list.label
                << "\":";
            if (list.items.empty()) out << " no items yet";
            for (std::size_t i = 0; i < list.items.size(); ++i)
                out << (i ? ", " : " ") << i << ' ' << list.items[i]
                    << (static_cast<int>(i) == list.selection ? " (default)" : "");
            out << '\n';
        }
        if (slots.colorEnabled)
            out << "      --color INDEX|#RRGGBB, default the background colour index\n";
        if (slots.pingPong.enabled) out << "      --pingpong\n";
    }
}

int RunEntryCommand(bool effect, CommandArgs args, std::ostream& out, std::ostream& err) {
    const Command command{effect, err};
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        PrintCommandUsage(*FindCliCommand(command.Name()), out);
        return kExitOk;
    }
    if (args.size() == 1 && args[0] == "--list") {
        PrintTable(true, out);
        out << '\n';
        PrintTable(false, out);
        return kExitOk;
    }
    EntryRequest request;
    if (!ParseRequest(command, args, request)) {
        PrintCommandUsage(*FindCliCommand(command.Name()), err);
        return kExitUsage;
    }
    const EffectEntry* entry = FindEntry(effect, request.name);
    if (!entry) return ReportUnknownName(command, request.name);
    if (!entry->Available()) return command.Usage(std::string(entry->name) + " is not available yet");

    // The dialog's part: the entry's defaults, the user's changes, the checks of OK.
    const auto table = EntryTable(effect);
    EffectParams params;
    params.isEffect = effect ? 1 : 0;
    (effect ? params.effectIndex : params.transitionIndex) = static_cast<int32_t>(entry - table.data());
    params.frameCount = request.frames;
    SlotRecord slots;
    slots.frameCount = request.frames;
    slots.transition = !effect;
    RunSetup(*entry, slots, SetupMode::Init);
    if (!FillSlots(command, *entry, request, slots)) return kExitUsage;

    // Some limits are in the frame's own pixels, so the frame comes before the checks of OK.
    Animation animation;
    if (!LoadInput(request.input, animation, err)) return kExitFailure;
    Gif* const first = animation.FrameAt(static_cast<std::size_t>(request.frame - 1));
    if (!first) {
        return command.Usage("--frame " + std::to_string(request.frame) + ": " + request.input +
                             " has " + std::to_string(animation.FrameCount()) + " frame(s)");
    }
    slots.imageWidth = BitmapExtent(first->width);
    slots.imageHeight = BitmapExtent(first->height);
    if (!CheckFrameCount(request.frames, slots.pingPong.checked, slots) ||
        !RunSetup(*entry, slots, SetupMode::Validate) || !slots.refusals.empty()) {
        const SlotRecord::Refusal refusal =
            slots.refusals.empty() ? SlotRecord::Refusal{"the parameters were refused", "Invalid Parameter"}
                                   : slots.refusals.front();
        command.Say() << refusal.title << ": " << refusal.message << '\n';
        return kExitUsage;
    }
    for (const SlotRecord::Refusal& question : slots.questions) {
        // The editor asks; a command line keeps what it was told.
        command.Say() << "note: " << question.title << ": " << question.message
                      << " (keeping " << request.frames << ")\n";
    }
    slots.Store(params);
    params.seed = request.seed;

    const Gif* const second = first->next;
    params.noTransition = second && SameRectangle(*first, *second) ? 0 : 1;
    if (!effect) {
        if (!second)
            return command.Usage(
                "Transitions can only be performed between the selected Image and its successor.");
        if (!SameRectangle(*first, *second)) return command.Usage("Size of second Image doesn't match");
    }
    // No colour chosen means the background's, as in the editor.
    params.colorIndex = animation.backgroundIndex;
    if (request.color) {
        const std::optional<int32_t> index = ChooseColor(*request.color, *first);
        if (!index) {
            return command.Usage("--color takes a palette index 0-255 or #RRGGBB, not '" +
                                 *request.color + "'");
        }
        params.colorIndex = *index;
    }
    if (slots.colorEnabled && first->transparent && params.colorIndex == first->transparentIndex) {
        // The editor asks whether to go on; a command line has said so already.
        command.Say() << "note: The color selected for the effect/transition is the transparent "
                         "color, this may result in effects without a visible change.\n";
    }
    params.preview = 0;

    JobScheduler scheduler;
    ColorReduction reduction(&scheduler);
    reduction.SetOptions(request.reduction);
    EffectProgress progress(nullptr, &scheduler);
    progress.reduce = [&reduction](std::span<Gif* const> frames) { reduction.ReduceNow(frames); };
    FrameChain chain = RunEntry(params, *first, effect ? nullptr : second, progress);
    if (!chain) {
        command.Say() << "Error: An Error occured while calculating the last animation :-(\n";
        return kExitFailure;
    }
    InsertAfter(*first, std::move(chain));
    reduction.ReduceNow(ChainFrames(animation.head));
    if (SaveAnimation(animation, animation.head, request.output) != GifWriteStatus::Ok) {
        err << kProgramName << ": " << request.output << ": cannot write the file\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

int RunEffectCommand(CommandArgs args, std::ostream& out, std::ostream& err) {
    return RunEntryCommand(true, args, out, err);
}

int RunTransitionCommand(CommandArgs args, std::ostream& out, std::ostream& err) {
    return RunEntryCommand(false, args, out, err);
}

}  // namespace anitrope
