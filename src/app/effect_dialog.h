#pragma once

#include <QDialog>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>

#include "effects/effect_frames.h"
#include "effects/effect_params.h"
#include "effects/effect_slots.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace anitrope {

class Confirmations;
class Document;
class JobScheduler;
class MessageBoxes;
struct EffectEntry;
struct Gif;
struct Settings;
class HelpViewer;

// What the dialog works with besides the record: the frames, the services and the user's
// settings ("Preview", "PreviewFrames", "Fixed Nr. of PreviewFrames", "Transparent Warning").
struct EffectDialogContext {
    Document& document;
    Gif& current;
    Settings& settings;
    MessageBoxes& boxes;
    Confirmations& confirmations;
    // The palette panel choosing an index of the frame's palette; nothing on Cancel.
    std::function<std::optional<int>(Gif&)> chooseColor;
    JobScheduler* scheduler = nullptr;  // where preview frames are computed
    HelpViewer* help = nullptr;
};

class ColorSwatch;
class EffectPreviewArea;

// "Select Effect/Transition" ("IDD_EFFECTDLG"), modal: the entry of the effect or transition
// table, the number of frames, PingPong and the entry's own values, with a live preview of
// the frames they make. The selected entry's setup labels, fills and checks the generic slots
// (EffectSlots, implemented here over the controls). OK writes the choices into the record;
// Cancel leaves it as it was at opening, except that no colour is chosen any more.
//
// The preview never touches the document: small frames are read as they are, larger ones
// through scaled copies the dialog owns.
class EffectDialog final : public QDialog, public EffectSlots {
    Q_OBJECT

public:
    EffectDialog(EffectDialogContext context, EffectParams& params, int32_t& currentColor,
                 QWidget* parent = nullptr);
    ~EffectDialog() override;

    // Shows the dialog modally: 1 for OK, 0 for Cancel.
    static int Open(EffectDialogContext context, EffectParams& params, int32_t& currentColor,
                    QWidget* parent = nullptr);

    // EffectSlots, over the controls.
    void ResetSlots() override;
    void Describe(const std::string& text) override;
    void EnableValue(int slot, std::optional<std::string> label,
                     std::optional<std::string> text) override;
    void DisableValue(int slot) override;
    void EnableCheck(int slot, std::optional<std::string> label, bool checked) override;
    void SetListLabel(int list, const std::string& label) override;
    void AddListItem(int list, const std::string& text) override;
    void SelectListItem(int list, int item) override;
    void EnableColor() override;
    void DisableColor() override;
    int32_t Value(int slot) const override;
    bool Checked(int slot) const override;
    int ListSelection(int list) const override;
    int32_t FrameCount() const override;
    bool TransitionChosen() const override;
    int32_t ImageWidth() const override;
    int32_t ImageHeight() const override;
    void Refuse(const std::string& message, const std::string& title, int field) override;
    SlotAnswer Ask(const std::string& message, const std::string& title) override;
    void SetFrameCount(int32_t count) override;

    // Timer 3 (500 ms after the last edit) and timer 2 (100 ms, the next preview frame); the
    // tests call them rather than wait.
    void EditsSettled();
    void NextPreviewFrame();
    bool EditsPending() const { return debounce_.isActive(); }
    bool PreviewRunning() const { return previewTimer_.isActive(); }
    // The preview's frames, and the one shown (from 0); 0 and -1 without a preview.
    int PreviewFrameCount() const;
    int PreviewFrameShown() const { return previewShown_; }

    QRadioButton* EffectRadio() const { return effectRadio_; }          // 1021
    QRadioButton* TransitionRadio() const { return transitionRadio_; }  // 1022
    QComboBox* EffectList() const { return effectList_; }               // 1020
    QComboBox* TransitionList() const { return transitionList_; }       // 1023
    QLineEdit* FrameCountEdit() const { return frameCount_; }           // 1024
    QCheckBox* PingPongBox() const { return pingPong_; }                // 1040
    QLabel* ValueLabel(int slot) const;
    QLineEdit* ValueEdit(int slot) const;
    QCheckBox* CheckBox(int slot) const;
    QLabel* ListLabel(int list) const;
    QComboBox* EntryList(int list) const;
    QLabel* ColorLabel() const { return colorLabel_; }                  // 1037
    QWidget* ColorSwatchWidget() const;                                 // 1038
    QLabel* Description() const { return description_; }                // 1036
    QWidget* PreviewWidget() const;                                     // 1041
    QCheckBox* PreviewBox() const { return previewBox_; }               // 1042
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* HelpButton() const { return help_; }

    void accept() override;
    void reject() override;

private:
    void BuildControls();
    void Initialise();
    const EffectEntry* CurrentEntry() const;
    int Setup(SetupMode mode);
    void SwitchTable(bool effect);
    void EntryChosen(bool effectList, int index);
    void PingPongClicked();
    void PreviewClicked();
    void ColorClicked();
    void HelpClicked();
    void MarkHelpIds(QLabel* frameCountLabel);
    void EditChanged();
    void RestartPreview();
    void StopPreview();
    // Closing either way: the preview and the copies go.
    void Leave();
    // The entry chosen in the current table's list becomes the record's.
    void StoreEntryIndex();
    void FocusField(int field);
    // The record as the controls now say (OK's step 4, and the preview's own copy).
    EffectParams FromControls() const;

    EffectDialogContext context_;
    EffectParams& params_;
    int32_t& currentColor_;
    EffectParams opening_;  // restored on Cancel
    bool previewAtOpening_ = false;
    bool tableEffect_ = true;
    std::array<int, 2> lastSeen_{-1, -1};
    bool colorEnabled_ = false;
    bool previewActive_ = false;
    bool ready_ = false;
    bool closing_ = false;

    // Larger frames are previewed from scaled copies of their own.
    FrameChain copy1_;
    FrameChain copy2_;
    const Gif* source1_ = nullptr;
    const Gif* source2_ = nullptr;
    FrameChain preview_;
    const Gif* previewFrame_ = nullptr;
    int previewShown_ = -1;

    QTimer debounce_;      // timer 3
    QTimer previewTimer_;  // timer 2

    QRadioButton* effectRadio_ = nullptr;
    QRadioButton* transitionRadio_ = nullptr;
    QComboBox* effectList_ = nullptr;
    QComboBox* transitionList_ = nullptr;
    QLineEdit* frameCount_ = nullptr;
    QCheckBox* pingPong_ = nullptr;
    std::array<QLabel*, 5> valueLabels_{};
    std::array<QLineEdit*, 5> valueEdits_{};
    std::array<QCheckBox*, 4> checks_{};
    std::array<QLabel*, 2> listLabels_{};
    std::array<QComboBox*, 2> lists_{};
    QLabel* colorLabel_ = nullptr;
    ColorSwatch* swatch_ = nullptr;
    QLabel* description_ = nullptr;
    EffectPreviewArea* previewArea_ = nullptr;
    QCheckBox* previewBox_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
};

}  // namespace anitrope
