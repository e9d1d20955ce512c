#include "effects/effect_progress.h"

#include "model/status_display.h"

namespace anitrope {

void EffectProgress::Announce(int frames) {
    if (status_) status_->ReportStatus(StatusWorkAnnounced, StatusCalculation, frames);
}

bool EffectProgress::Step() {
    if (status_) status_->ReportStatus(StatusFrameCalculated);
    if (stepped) stepped();
    return !stop_;
}

void EffectProgress::End() {
    if (status_) status_->ReportStatus(StatusEffectEnd);
}

}  // namespace anitrope
