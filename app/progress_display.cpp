#include "app/progress_display.h"

#include <algorithm>
#include <string>

#include "app/mul_div.h"

void ProgressDisplay::Attach(ISkinObject* pbpos, ISkinObject* pb) {
  pbposText_ = pbpos ? QueryInterface<ISkinElementText>(pbpos) : nullptr;
  pbposPlacement_ = pbpos ? QueryInterface<ISkinElementPlacement>(pbpos) : nullptr;
  pbPlacement_ = pb ? QueryInterface<ISkinElementPlacement>(pb) : nullptr;
  barRect_ = pbPlacement_ ? pbPlacement_->GetPlacement() : SkinRect{};
}

void ProgressDisplay::ShowProgress(int32_t value, bool busy) {
  if (!busy) value = 0;
  value = std::clamp(value, 0, FullScale);

  barRect_.Right = barRect_.Left + MulDiv(value, BarTravel, FullScale);
  if (pbPlacement_) {
    pbPlacement_->SetPlacement(barRect_);
    pbPlacement_->Repaint();
  }
  const int32_t percent = std::min(value / 100, 100);
  ShowText(std::to_string(percent) + "%");
}

void ProgressDisplay::ResetAfterRun(bool& busy) {
  ShowProgress(0, busy);
  busy = false;
  BlankPercentage();
}

void ProgressDisplay::ShowText(const std::string& text) {
  if (pbposText_) pbposText_->AssignText(text);
  if (pbposPlacement_) pbposPlacement_->Repaint();
}
