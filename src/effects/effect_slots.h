#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace anitrope {

struct EffectParams;

// What an entry's setup routine is asked to do.
enum class SetupMode : int { Init = 0, Validate = 1, ComboChanged = 2, CheckChanged = 3, Leave = 4 };

// Check slot number of the PingPong box.
inline constexpr int kPingPongSlot = 999;
// Focus target of a refusal that concerns the number of frames rather than a value slot.
inline constexpr int kFrameCountField = 0;

// How the user answered a question with Yes, No and Cancel.
enum class SlotAnswer { Yes, No, Cancel };

// The generic controls an entry labels, fills and reads: five numeric slots, four check slots,
// two lists, a colour, the description, plus the number of frames and the table chosen. The
// editor's dialog implements it over its controls; SlotRecord keeps it as plain data for the
// command line and for tests. Slot numbers outside 1-5 (1-4 for checks, except PingPong) mean
// slot 1.
class EffectSlots {
public:
    virtual ~EffectSlots() = default;

    // Every slot back to "not used", empty, unchecked and disabled; lists emptied; colour and
    // PingPong disabled.
    virtual void ResetSlots() = 0;
    virtual void Describe(const std::string& text) = 0;
    // Enables numeric slot n, with its label and edit text where given.
    virtual void EnableValue(int slot, std::optional<std::string> label,
                             std::optional<std::string> text) = 0;
    // Numeric slot n's label and edit off again (an entry whose list choice makes the value
    // moot); its text stays for when it is enabled again.
    virtual void DisableValue(int slot) = 0;
    // Enables check slot n (or PingPong), with its label where given (never PingPong's).
    virtual void EnableCheck(int slot, std::optional<std::string> label, bool checked) = 0;
    // List 1 is `direction`, list 2 `option`; adding an item enables the list.
    virtual void SetListLabel(int list, const std::string& label) = 0;
    virtual void AddListItem(int list, const std::string& text) = 0;
    virtual void SelectListItem(int list, int item) = 0;
    virtual void EnableColor() = 0;
    // The colour label and swatch off again (an entry whose option makes the colour moot);
    // the colour chosen stays.
    virtual void DisableColor() = 0;

    // The edit of slot n read as a signed number (0 when it is not one).
    virtual int32_t Value(int slot) const = 0;
    virtual bool Checked(int slot) const = 0;
    virtual int ListSelection(int list) const = 0;  // -1 for none
    virtual int32_t FrameCount() const = 0;         // the "Number of Frames" edit, read as above
    virtual bool TransitionChosen() const = 0;
    // The size of the frame the entry will run on: the current frame itself, never a preview's
    // scaled copy, since limits such as a blind's height are in its pixels.
    virtual int32_t ImageWidth() const = 0;
    virtual int32_t ImageHeight() const = 0;

    // A value is out of range: tells the user (`title` over `message`), then focuses the
    // field (a value slot or kFrameCountField) and selects its text.
    virtual void Refuse(const std::string& message, const std::string& title, int field) = 0;
    // A value could be better: asks the user (Yes, No or Cancel).
    virtual SlotAnswer Ask(const std::string& message, const std::string& title) = 0;
    // Writes the "Number of Frames" edit (an entry proposing another count).
    virtual void SetFrameCount(int32_t count) = 0;
};

// The slots as plain data.
class SlotRecord final : public EffectSlots {
public:
    struct ValueState {
        std::string label = "not used";
        std::string text;
        bool enabled = false;
    };
    struct CheckState {
        std::string label = "not used";
        bool checked = false;
        bool enabled = false;
    };
    struct ListState {
        std::string label = "not used";
        std::vector<std::string> items;
        int selection = -1;
        bool enabled = false;
    };
    struct Refusal {
        std::string message;
        std::string title;
        int field = 0;
    };

    void ResetSlots() override;
    void Describe(const std::string& text) override { description = text; }
    void EnableValue(int slot, std::optional<std::string> label,
                     std::optional<std::string> text) override;
    void DisableValue(int slot) override { ValueSlot(slot).enabled = false; }
    void EnableCheck(int slot, std::optional<std::string> label, bool checked) override;
    void SetListLabel(int list, const std::string& label) override;
    void AddListItem(int list, const std::string& text) override;
    void SelectListItem(int list, int item) override;
    void EnableColor() override { colorEnabled = true; }
    void DisableColor() override { colorEnabled = false; }

    int32_t Value(int slot) const override;
    bool Checked(int slot) const override;
    int ListSelection(int list) const override;
    int32_t FrameCount() const override { return frameCount; }
    bool TransitionChosen() const override { return transition; }
    int32_t ImageWidth() const override { return imageWidth; }
    int32_t ImageHeight() const override { return imageHeight; }
    void Refuse(const std::string& message, const std::string& title, int field) override {
        refusals.push_back({message, title, field});
    }
    // Records the question and gives `answer`.
    SlotAnswer Ask(const std::string& message, const std::string& title) override {
        questions.push_back({message, title, kFrameCountField});
        return answer;
    }
    void SetFrameCount(int32_t count) override { frameCount = count; }

    ValueState& ValueSlot(int slot);
    CheckState& CheckSlot(int slot);  // kPingPongSlot: the PingPong box
    ListState& ListSlot(int list);
    const ValueState& ValueSlot(int slot) const;
    const CheckState& CheckSlot(int slot) const;
    const ListState& ListSlot(int list) const;

    // What the dialog's OK stores from its controls: the five values, the four checks,
    // PingPong and both lists' selections.
    void Store(EffectParams& params) const;

    std::string description;
    std::array<ValueState, 5> values;
    std::array<CheckState, 4> checks;
    CheckState pingPong;
    std::array<ListState, 2> lists;
    bool colorEnabled = false;
    int32_t frameCount = 10;
    bool transition = false;
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
    std::vector<Refusal> refusals;
    std::vector<Refusal> questions;
    // What every question is answered: No keeps what was asked for, as a command line does.
    SlotAnswer answer = SlotAnswer::No;
};

// An edit's text read as the dialog reads a number: optional spaces, an optional sign, then
// digits up to the first other character; 0 when there are none, saturated to 32 bits.
int32_t ReadSignedNumber(const std::string& text);

}  // namespace anitrope
